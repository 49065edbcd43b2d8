#pragma once
#include <string>

// The label of a tree item that carries a record: the identifier alone when the
// registered Name is exactly the identifier, otherwise "Name [identifier]".
std::string itemLabel(const std::string& name, const std::string& identifier);

// The identifier inside a label made by itemLabel: what lies between the first "["
// (from the second character on) and the next "]" (from the second character after
// it on); the whole label when it has no such "["; empty without a closing "]".
std::string SplitItemLabel(const std::string& label);
