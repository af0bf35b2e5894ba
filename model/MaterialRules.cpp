#include "model/MaterialRules.h"

#include "platform/AsciiCase.h"

std::string MaterialKey(std::string_view name)
{
    std::string key(name.substr(0, MaterialRecord::kNameLimit));
    for (char& c : key) c = platform::AsciiLower(c);
    return key;
}
