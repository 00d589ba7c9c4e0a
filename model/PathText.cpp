#include "model/PathText.h"

namespace kw {

std::string RemoveExtension(std::string_view name)
{
    size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string AddBackslash(std::string_view text)
{
    std::string result(text);
    if (!result.empty() && result.back() != '\\')
        result += '\\';
    return result;
}

}  // namespace kw
