// Any bytes as a picture file the player imports: the import never crashes, either refuses
// the file as invalid or makes a whole 400 x 300 JPEG of it, refuses every bitmap whose
// header promises more than the file holds, and leaves no scratch file behind. The decoders
// (Qt's readers, libjpeg, libheif with its HEVC and AV1 codecs) are not instrumented; the code
// around them is: the format choice, EXIF orientation, the size checks, the completeness rules.

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "core/layout/SkinLayout.h"
#include "core/library/CutShortPicture.h"
#include "library/PictureImport.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "picture import: %s\n", what);
    std::abort();
}

// A folder of this run's own for the picture file, and in it the temporary folder the
// import does its work in, which must be empty again after every import.
std::filesystem::path g_folder;
std::filesystem::path g_scratch;

std::size_t FilesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "corvalin-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) Fail("no folder of its own");
    g_folder = pattern;
    g_scratch = g_folder / "scratch";
    std::filesystem::create_directory(g_scratch);
    std::filesystem::create_directory(g_folder / "runtime");
    std::filesystem::permissions(g_folder / "runtime", std::filesystem::perms::owner_all);
    ::setenv("TMPDIR", g_scratch.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (g_folder / "runtime").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "picture_import";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    std::atexit([] { std::filesystem::remove_all(g_folder); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path path = g_folder / "Beach.bmp";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const ImportedPicture picture = PreparePicture(path.string(), {"Harbour.jpg"}, ConvertPicture);
    std::filesystem::remove(path);

    if (FilesIn(g_scratch) != 0) Fail("the import left files behind");
    if (picture.libraryName != "Beach.jpg") Fail("the library name is not the file's title");
    if (picture.Accepted()) {
        const QImage stored = QImage::fromData(
            QByteArray::fromRawData(reinterpret_cast<const char*>(picture.jpeg.data()),
                                    static_cast<qsizetype>(picture.jpeg.size())),
            "JPG");
        if (stored.width() != layout::kPictureSize.width ||
            stored.height() != layout::kPictureSize.height)
            Fail("an accepted picture is not a whole 400 x 300 JPEG");
        if (IsCutShort(std::span(data, size))) Fail("a picture cut short was accepted");
    } else {
        if (picture.refusal != ImportRefusal::InvalidFile) Fail("refused for another reason");
        if (!picture.jpeg.empty()) Fail("a refused picture carries bytes");
        if (RefusalMessage(picture) != "Invalid file!") Fail("the refusal says something else");
    }
    return 0;
}
