#pragma once
// How a long list of checkboxes breaks into rows: as many as fit the visible
// width, and never more than a fixed number to a row. Layout arithmetic only;
// the window measures the checkboxes and draws the rows.

#include <cstddef>
#include <vector>

// The index of the first item of each row, for `count` items laid out left
// to right `spacing` pixels apart (item i is widthOf(i) pixels wide) in rows
// of at most `available` pixels and `maxPerRow` items. An item wider than a
// row has a row of its own.
template <typename WidthOf>
std::vector<size_t> rowStarts(size_t count, float spacing, float available, size_t maxPerRow,
                              WidthOf&& widthOf) {
  std::vector<size_t> starts;
  float rowWidth = 0;
  size_t inRow = 0;
  for (size_t i = 0; i < count; ++i) {
    const float width = widthOf(i);
    if (inRow == 0 || inRow == maxPerRow || rowWidth + spacing + width > available) {
      starts.push_back(i);
      rowWidth = width;
      inRow = 1;
    } else {
      rowWidth += spacing + width;
      ++inRow;
    }
  }
  return starts;
}

// The rows of one list, measured again only when the list, the width or the
// font size change, so that a frame does not measure every name of a large
// pack. The list is recognised by its storage and length, as a pack load
// replaces it.
class CheckboxRows {
 public:
  template <typename WidthOf>
  const std::vector<size_t>& starts(const void* listData, size_t count, float spacing,
                                    float available, float fontSize, size_t maxPerRow,
                                    WidthOf&& widthOf) {
    if (!valid_ || listData != listData_ || count != count_ || available != available_ ||
        fontSize != fontSize_) {
      starts_ = rowStarts(count, spacing, available, maxPerRow, widthOf);
      listData_ = listData;
      count_ = count;
      available_ = available;
      fontSize_ = fontSize;
      valid_ = true;
    }
    return starts_;
  }

 private:
  std::vector<size_t> starts_;
  const void* listData_ = nullptr;
  size_t count_ = 0;
  float available_ = 0;
  float fontSize_ = 0;
  bool valid_ = false;
};
