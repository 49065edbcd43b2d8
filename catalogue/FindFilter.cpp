#include "catalogue/FindFilter.h"

#include <windows.h>

#include <algorithm>

namespace {

// Separates the texts of a key: no typed text holds it, so a match never spans two.
constexpr char kKeySeparator = '\0';

}  // namespace

std::string foldForFind(std::string_view text)
{
    std::string folded(text);
    // CharLowerBuffA works in place on the active code page's letters, in chunks that
    // its DWORD count can take.
    for (size_t done = 0; done < folded.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(folded.size() - done, 1u << 30));
        CharLowerBuffA(folded.data() + done, chunk);
        done += chunk;
    }
    return folded;
}

std::string findKeyOf(const std::string& label, const CAPETreeItemTag* record)
{
    if (!record)
        return {};
    std::string key = label;
    for (const std::string* text : {&record->ProgID, &record->Name, &record->Description}) {
        key += kKeySeparator;
        key += *text;
    }
    return foldForFind(key);
}

bool findKeyMatches(const std::string& key, const std::string& foldedTyped)
{
    return !key.empty() && key.find(foldedTyped) != std::string::npos;
}

bool itemMatchesFind(const std::string& label, const CAPETreeItemTag* record, std::string_view typed)
{
    return findKeyMatches(findKeyOf(label, record), foldForFind(typed));
}

std::vector<bool> itemsKeptByFind(const std::vector<FindItem>& items, std::string_view typed)
{
    if (typed.empty())
        return std::vector<bool>(items.size(), true);
    const std::string folded = foldForFind(typed);
    // Forward: an item is kept when it or an item above it matches (parents come first).
    std::vector<bool> kept(items.size(), false);
    for (size_t i = 0; i < items.size(); ++i) {
        const size_t parent = items[i].parent;
        kept[i] = findKeyMatches(items[i].key, folded) || (parent != kTopLevelItem && kept[parent]);
    }
    // Backward: the items above a kept one are kept too.
    for (size_t i = items.size(); i-- > 0;) {
        const size_t parent = items[i].parent;
        if (kept[i] && parent != kTopLevelItem)
            kept[parent] = true;
    }
    return kept;
}
