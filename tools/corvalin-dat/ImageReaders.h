#pragma once

#include <QCoreApplication>
#include <memory>
#include <string>
#include <vector>

// Qt finds its image format plugins through an application object; no display is needed.
std::unique_ptr<QCoreApplication> StartImageReaders();

// "WIDTHxHEIGHT" of an encoded picture, or "?" when it does not decode.
std::string PictureSizeText(const std::vector<std::uint8_t>& bytes);
