#include "picturegen/IndexedImage.h"

#include <cstddef>
#include <stdexcept>

namespace tools {
namespace picturegen {

IndexedImage::IndexedImage(int width, int height, std::uint8_t fill)
    : _width(width)
    , _height(height)
    , _pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

std::uint8_t IndexedImage::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= _width || y >= _height) {
        throw std::out_of_range("pixel outside the image");
    }
    return _pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(_width) +
                   static_cast<std::size_t>(x)];
}

void IndexedImage::set(int x, int y, std::uint8_t index) {
    if (x < 0 || y < 0 || x >= _width || y >= _height) {
        throw std::out_of_range("pixel outside the image");
    }
    _pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(_width) +
            static_cast<std::size_t>(x)] = index;
}

void IndexedImage::fill(int left, int top, int width, int height, std::uint8_t index) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            set(x, y, index);
        }
    }
}

} // namespace picturegen
} // namespace tools
