// Writes the screen saver's pictures and icon into the folder given as the
// only argument (the program's resource folder).
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "picturegen/BmpWriter.h"
#include "picturegen/PictureGenerator.h"

namespace {

void write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace

int main(int argc, char** argv) {
    using tools::picturegen::BmpWriter;
    using tools::picturegen::PictureGenerator;
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output folder>\n";
        return 2;
    }
    try {
        const std::string folder = std::string(argv[1]) + "/";
        const auto palette = PictureGenerator::palette();
        write(folder + "startup.bmp", BmpWriter::file(PictureGenerator::startupScreen(), palette));
        write(folder + "cursor.bmp", BmpWriter::file(PictureGenerator::cursorBlock(), palette));
        write(folder + "nocursor.bmp", BmpWriter::file(PictureGenerator::emptyBlock(), palette));
        write(folder + "plovix.ico", PictureGenerator::icon());
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
