#pragma once

#include <QImage>
#include <string>
#include <vector>

// A picture and the package entry name it is stored under.
struct NamedImage {
    std::string name;
    QImage image;
    bool lettered = false;  // carries words, painted again in each language
};

using NamedImages = std::vector<NamedImage>;
