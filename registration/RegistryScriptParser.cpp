#include "registration/RegistryScriptParser.h"

#include <cwctype>

namespace {

struct Token {
    std::wstring text;
    bool quoted = false;
};

bool sameWord(const Token& token, std::wstring_view word)
{
    return !token.quoted && token.text.size() == word.size() &&
           _wcsnicmp(token.text.c_str(), word.data(), word.size()) == 0;
}

// White-space separated tokens; '...' is one token, '' inside it a quote.
std::optional<std::vector<Token>> tokenize(std::wstring_view text)
{
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        if (iswspace(text[i])) {
            ++i;
            continue;
        }
        Token token;
        if (text[i] == L'\'') {
            token.quoted = true;
            ++i;
            for (;;) {
                if (i >= text.size())
                    return std::nullopt;  // unterminated quote
                if (text[i] == L'\'') {
                    if (i + 1 < text.size() && text[i + 1] == L'\'') {
                        token.text += L'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                token.text += text[i++];
            }
        } else {
            while (i < text.size() && !iswspace(text[i]))
                token.text += text[i++];
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    std::optional<std::vector<ScriptRoot>> roots()
    {
        std::vector<ScriptRoot> result;
        while (!atEnd()) {
            ScriptRoot root;
            root.root = rootKey(next());
            if (!root.root || !expect(L"{"))
                return std::nullopt;
            while (!atEnd() && !sameWord(peek(), L"}")) {
                auto key = parseKey();
                if (!key)
                    return std::nullopt;
                root.keys.push_back(std::move(*key));
            }
            if (!expect(L"}"))
                return std::nullopt;
            result.push_back(std::move(root));
        }
        return result;
    }

private:
    static HKEY rootKey(const Token& token)
    {
        if (sameWord(token, L"HKCR") || sameWord(token, L"HKEY_CLASSES_ROOT"))
            return HKEY_CLASSES_ROOT;
        if (sameWord(token, L"HKCU") || sameWord(token, L"HKEY_CURRENT_USER"))
            return HKEY_CURRENT_USER;
        if (sameWord(token, L"HKLM") || sameWord(token, L"HKEY_LOCAL_MACHINE"))
            return HKEY_LOCAL_MACHINE;
        if (sameWord(token, L"HKU") || sameWord(token, L"HKEY_USERS"))
            return HKEY_USERS;
        return nullptr;
    }

    std::optional<ScriptKey> parseKey()
    {
        ScriptKey key;
        if (sameWord(peek(), L"ForceRemove")) {
            key.removal = ScriptKey::Removal::ForceRemove;
            next();
        } else if (sameWord(peek(), L"NoRemove")) {
            key.removal = ScriptKey::Removal::NoRemove;
            next();
        }
        if (atEnd() || isPunctuation(peek()))
            return std::nullopt;
        key.name = next().text;
        if (sameWord(peek(), L"=")) {
            next();
            auto value = stringValue();
            if (!value)
                return std::nullopt;
            key.defaultValue = std::move(*value);
        }
        if (!sameWord(peek(), L"{"))
            return key;
        next();
        while (!atEnd() && !sameWord(peek(), L"}")) {
            if (sameWord(peek(), L"val")) {
                next();
                if (atEnd() || isPunctuation(peek()))
                    return std::nullopt;
                ScriptNamedValue value;
                value.name = next().text;
                auto text = expect(L"=") ? stringValue() : std::nullopt;
                if (!text)
                    return std::nullopt;
                value.text = std::move(*text);
                key.values.push_back(std::move(value));
                continue;
            }
            auto subkey = parseKey();
            if (!subkey)
                return std::nullopt;
            key.subkeys.push_back(std::move(*subkey));
        }
        if (!expect(L"}"))
            return std::nullopt;
        return key;
    }

    // s 'text'
    std::optional<std::wstring> stringValue()
    {
        if (!sameWord(peek(), L"s"))
            return std::nullopt;
        next();
        if (atEnd() || !peek().quoted)
            return std::nullopt;
        return next().text;
    }

    static bool isPunctuation(const Token& token)
    {
        return sameWord(token, L"{") || sameWord(token, L"}") || sameWord(token, L"=");
    }

    bool atEnd() const { return position_ >= tokens_.size(); }
    const Token& peek() const { return atEnd() ? end_ : tokens_[position_]; }
    const Token& next() { return atEnd() ? end_ : tokens_[position_++]; }
    bool expect(std::wstring_view word)
    {
        if (!sameWord(peek(), word))
            return false;
        next();
        return true;
    }

    std::vector<Token> tokens_;
    size_t position_ = 0;
    const Token end_{};
};

}  // namespace

std::optional<std::wstring> expandReplacements(std::wstring_view script,
                                               const std::vector<ScriptReplacement>& replacements)
{
    std::wstring result;
    result.reserve(script.size());
    size_t i = 0;
    while (i < script.size()) {
        if (script[i] != L'%') {
            result += script[i++];
            continue;
        }
        size_t close = script.find(L'%', i + 1);
        if (close == std::wstring_view::npos)
            return std::nullopt;
        std::wstring_view name = script.substr(i + 1, close - i - 1);
        if (name.empty()) {
            result += L'%';
        } else {
            const ScriptReplacement* found = nullptr;
            for (const auto& replacement : replacements) {
                if (replacement.name.size() == name.size() &&
                    _wcsnicmp(replacement.name.c_str(), name.data(), name.size()) == 0)
                    found = &replacement;
            }
            if (!found)
                return std::nullopt;
            result += found->value;
        }
        i = close + 1;
    }
    return result;
}

std::optional<std::vector<ScriptRoot>> parseRegistryScript(std::wstring_view script)
{
    auto tokens = tokenize(script);
    if (!tokens)
        return std::nullopt;
    return Parser(std::move(*tokens)).roots();
}
