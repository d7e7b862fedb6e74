#pragma once

// A data directory for tests that need the application object: a temporary folder with
// a Pic.dat of patterned pictures, and a main that runs a QTest class under CCorvalinApp.

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include "app/CorvalinApp.h"
#include "core/io/FileIO.h"
#include "core/package/ImagePackage.h"

namespace test {

// Every pixel tells where it came from: red = x / 2, green = y, blue = the picture's tag.
// BMP keeps the colours exact.
inline QImage PatternPicture(int tag) {
    QImage image(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) image.setPixel(x, y, qRgb(x / 2, y % 256, tag));
    return image;
}

inline std::vector<std::uint8_t> Bmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return {bytes.begin(), bytes.end()};
}

// A folder holding Pic.dat with the named pattern pictures and an empty Score.dat.
class DataFolder {
public:
    explicit DataFolder(const std::vector<std::string>& pictures = {"First.jpg", "Second.jpg"}) {
        ImagePackage package;
        int tag = 10;
        for (const auto& name : pictures) package.AddEntry(name, Bmp(PatternPicture(tag++)));
        if (!pictures.empty()) package.Save(File("Pic.dat"));
        const std::uint8_t emptyTable[] = {0, 0, 0, 0};
        WriteFileAtomically(File("Score.dat"), emptyTable);
    }
    std::string Path() const { return m_dir.path().toStdString() + "/"; }
    std::string File(const std::string& name) const { return Path() + name; }

private:
    QTemporaryDir m_dir;
};

}  // namespace test

#define CORVALIN_APP_TEST_MAIN(TestClass)        \
    int main(int argc, char** argv) {            \
        CCorvalinApp app(argc, argv);            \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        TestClass tests;                         \
        return QTest::qExec(&tests, argc, argv); \
    }
