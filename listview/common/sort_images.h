// The header images of the lists' sort indicator, one list for the process:
// image 0 ascending (a triangle pointing up), 1 descending (pointing down),
// 2 no sort (blank), each 16 x 16.
#pragma once

#include "platform/base/wintypes.h"

namespace listview {

constexpr int kSortImageAscending = 0;
constexpr int kSortImageDescending = 1;
constexpr int kSortImageNone = 2;

// Created on first use; lives until the process ends.
HIMAGELIST SortImageList();

}  // namespace listview
