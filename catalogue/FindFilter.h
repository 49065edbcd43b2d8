#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/CatalogueRecord.h"

// The find box's rule. An item that carries a record (a component or a package)
// matches the typed text when its label, or its record's ProgID, Name or Description,
// contains the text, letter case ignored by the rules of the active code page. Items
// without a record (categories, a manager's message line, the probe's lines) never
// match by their own label: they stay or go with the items around them. Empty text
// matches every item.

// text in the letter case that the find box compares in.
std::string foldForFind(std::string_view text);

// What the find box searches in an item, folded once when the item is listed: its
// label and, when it carries one, its record's ProgID, Name and Description. Empty for
// an item without a record.
std::string findKeyOf(const std::string& label, const CAPETreeItemTag* record);

// Whether an item with this key matches the typed text, already folded.
bool findKeyMatches(const std::string& key, const std::string& foldedTyped);

// The per-item rule in one call (what the tree applies through the two above).
bool itemMatchesFind(const std::string& label, const CAPETreeItemTag* record, std::string_view typed);

inline constexpr size_t kTopLevelItem = static_cast<size_t>(-1);

// One item of the catalogue, in the order in which it was put into the full tree:
// a parent always comes before its children.
struct FindItem {
    size_t parent = kTopLevelItem;  // index of the parent item
    std::string key;                // findKeyOf its label and record
};

// Which items the narrowed tree keeps for the typed text, one flag per item:
// - an item that matches, with everything below it (a manager's packages and message
//   line, the probe's lines under a component);
// - every item above a kept one (a category with its matching items, a manager with
//   its matching packages).
// Everything is kept for empty text.
std::vector<bool> itemsKeptByFind(const std::vector<FindItem>& items, std::string_view typed);
