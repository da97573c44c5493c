// Writes the screen saver's pictures (run-length encoded) and icon into the
// folder given first (the program's resource folder), and the pictures
// uncompressed into the folder given second (the test resources, which prove
// that the compressed ones load alike).
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "picturegen/BmpWriter.h"
#include "picturegen/PictureGenerator.h"

namespace {

void write(const std::string& path, const std::string& bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    const bool written =
        out != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out == nullptr || std::fclose(out) != 0 || !written) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace

int main(int argc, char** argv) {
    using tools::picturegen::BmpWriter;
    using tools::picturegen::PictureGenerator;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <resource folder> <test resource folder>\n", argv[0]);
        return 2;
    }
    try {
        const std::string folder = std::string(argv[1]) + "/";
        const auto palette = PictureGenerator::palette();
        write(folder + "startup.bmp", BmpWriter::file(PictureGenerator::startupScreen(), palette));
        write(folder + "cursor.bmp", BmpWriter::file(PictureGenerator::cursorBlock(), palette));
        write(folder + "nocursor.bmp", BmpWriter::file(PictureGenerator::emptyBlock(), palette));
        write(folder + "plovix.ico", PictureGenerator::icon());
        const std::string uncompressed = std::string(argv[2]) + "/uncompressed-";
        write(uncompressed + "startup.bmp",
              BmpWriter::uncompressedFile(PictureGenerator::startupScreen(), palette));
        write(uncompressed + "cursor.bmp",
              BmpWriter::uncompressedFile(PictureGenerator::cursorBlock(), palette));
        write(uncompressed + "nocursor.bmp",
              BmpWriter::uncompressedFile(PictureGenerator::emptyBlock(), palette));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
