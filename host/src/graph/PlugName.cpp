// Splitting plug names into node, attribute and index.

#include "graph/PlugName.h"

namespace dghost {
namespace detail {

PlugNameError splitPlugName(const std::string& text, PlugName& name)
{
    std::size_t dot = text.find('.');
    if (dot == std::string::npos) return PlugNameError::kNotAPlug;
    name.node = text.substr(0, dot);
    name.attribute = text.substr(dot + 1);
    name.index = -1;
    std::size_t bracket = name.attribute.find('[');
    if (bracket == std::string::npos) return PlugNameError::kNone;
    std::string digits = name.attribute.substr(bracket + 1, name.attribute.size() - bracket - 2);
    if (name.attribute.back() != ']' || digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return PlugNameError::kBadIndex;
    const unsigned long long value = std::stoull(digits);
    if (value > kMaxLogicalIndex) return PlugNameError::kBadIndex;
    name.index = static_cast<int>(value);
    name.attribute.resize(bracket);
    return PlugNameError::kNone;
}

}  // namespace detail
}  // namespace dghost
