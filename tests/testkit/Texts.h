#pragma once
// Expected texts written with tokens ("@", "<id>", "<mixer-clsid>") for what only the
// running test knows, such as the ProgID of a class registered under a new CLSID.
#include <string>
#include <utility>
#include <vector>

namespace testkit {

using Tokens = std::vector<std::pair<std::string, std::string>>;

// text with every occurrence of each token replaced by its value, token by token.
inline std::string replaced(std::string text, const Tokens& tokens)
{
    for (const auto& [token, value] : tokens)
        for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + value.size()))
            text.replace(at, token.size(), value);
    return text;
}
inline std::vector<std::string> replaced(std::vector<std::string> texts, const Tokens& tokens)
{
    for (std::string& text : texts)
        text = replaced(std::move(text), tokens);
    return texts;
}

}  // namespace testkit
