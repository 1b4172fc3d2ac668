// Small pictures as text, so that a failing test shows the pixels it got beside the ones it expected.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Which letter stands for which pixel value.
using PictureKey = std::vector<std::pair<std::uint32_t, char>>;

// One character per pixel, each row ended by '\n': the letter the key gives the pixel's value (the last
// entry for that value wins), `other` for a value the key does not name.
std::string AsciiPicture(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel,
                         const PictureKey& key, char other = '?');
