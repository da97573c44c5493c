#include "desktopprobe/ScreenReader.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/errorresources/SystemErrors.h"

namespace tools {
namespace desktopprobe {

namespace {

using platform::errorresources::SystemErrors;

[[noreturn]] void fail(const std::string& sentence, const std::string& path) {
    SystemErrors::throwLastError<std::runtime_error>(
        [&](const std::string& reason) { return sentence + "\nFile: " + path + "\n" + reason; });
}

void deleteContext(HDC context) {
    DeleteDC(context);
}

void deleteBitmap(HBITMAP bitmap) {
    DeleteObject(bitmap);
}

void closeFile(HANDLE file) {
    CloseHandle(file);
}

HANDLE noFile() {
    return INVALID_HANDLE_VALUE;
}

} // namespace

ScreenReader::ScreenReader()
    : _screen(GetDC(nullptr)) {
    if (!_screen) {
        SystemErrors::throwLastError<std::runtime_error>([](const std::string& reason) {
            return "Could not open the screen using 'GetDC'.\n" + reason;
        });
    }
}

void ScreenReader::save(const RECT& area, const std::string& path) const {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        throw std::runtime_error("Could not save an empty area of the screen.\nFile: " + path +
                                 "\n");
    }
    // Rows of 24-bit pixels are padded to whole 32-bit words.
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~DWORD{3};
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = stride * static_cast<DWORD>(height);
    const platform::handles::UniqueHandle<HDC, &deleteContext> memory(
        CreateCompatibleDC(_screen.get()));
    if (!memory) {
        fail("Could not save the screen using 'CreateCompatibleDC'.", path);
    }
    void* bits = nullptr;
    const platform::handles::UniqueHandle<HBITMAP, &deleteBitmap> bitmap(
        CreateDIBSection(_screen.get(), reinterpret_cast<const BITMAPINFO*>(&header),
                         DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        fail("Could not save the screen using 'CreateDIBSection'.", path);
    }
    const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    const BOOL copied =
        BitBlt(memory.get(), 0, 0, width, height, _screen.get(), area.left, area.top, SRCCOPY);
    SelectObject(memory.get(), previous);
    if (copied == 0) {
        fail("Could not save the screen using 'BitBlt'.", path);
    }
    GdiFlush();

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    const platform::handles::UniqueHandle<HANDLE, &closeFile, noFile> output(CreateFileA(
        path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) {
        fail("Could not save the screen using 'CreateFileA'.", path);
    }
    const std::pair<const void*, DWORD> parts[] = {
        {&file, sizeof file}, {&header, sizeof header}, {bits, header.biSizeImage}};
    for (const auto& part : parts) {
        DWORD written = 0;
        if (WriteFile(output.get(), part.first, part.second, &written, nullptr) == 0 ||
            written != part.second) {
            fail("Could not save the screen using 'WriteFile'.", path);
        }
    }
}

void ScreenReader::_release(HDC screen) {
    ReleaseDC(nullptr, screen);
}

} // namespace desktopprobe
} // namespace tools
