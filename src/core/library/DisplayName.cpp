#include "core/library/DisplayName.h"

std::string DisplayName(const std::string& name) {
    return name.size() <= 4 ? std::string() : name.substr(0, name.size() - 4);
}
