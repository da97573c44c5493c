#ifndef PLOVIX_TOOLS_PICTUREGEN_INDEXEDIMAGE_H
#define PLOVIX_TOOLS_PICTUREGEN_INDEXEDIMAGE_H

#include <cstdint>
#include <vector>

namespace tools {
namespace picturegen {

// A picture of palette indices, top row first.
class IndexedImage {
public:
    IndexedImage(int width, int height, std::uint8_t fill);

    int width() const { return _width; }
    int height() const { return _height; }
    std::uint8_t at(int x, int y) const;
    void set(int x, int y, std::uint8_t index);
    void fill(int left, int top, int width, int height, std::uint8_t index);

private:
    int _width;
    int _height;
    std::vector<std::uint8_t> _pixels;
};

} // namespace picturegen
} // namespace tools

#endif
