#include "catalogue/ItemLabel.h"

std::string itemLabel(const std::string& name, const std::string& identifier)
{
    if (name == identifier)
        return identifier;
    return name + " [" + identifier + "]";
}

std::string SplitItemLabel(const std::string& label)
{
    // A "[" in first position belongs to the identifier itself.
    const size_t open = label.find('[', 1);
    if (open == std::string::npos)
        return label;
    const std::string rest = label.substr(open + 1);
    const size_t close = rest.find(']', 1);
    if (close == std::string::npos)
        return {};
    return rest.substr(0, close);
}
