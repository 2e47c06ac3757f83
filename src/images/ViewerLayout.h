#pragma once

#include <QRect>
#include <QSize>

// Where the image viewer puts a picture: the window sized to the picture, from a fixed minimum
// width up to the desktop's work area, and scroll bars for a picture larger than that. All
// lengths are twips; the window's size includes its frame and title bar.
namespace viewer {

// The display controls as the viewer opens.
inline constexpr QRect kFrame{240, 1200, 7455, 2415};
inline constexpr QRect kHorizontalBar{240, 3600, 7455, 210};
inline constexpr QRect kVerticalBar{7680, 1200, 210, 2460};

inline constexpr int kHeightMargin = 600;        // below the frame
inline constexpr int kWidthMargin = 570;         // beside the frame
inline constexpr int kClippedRightMargin = 330;  // right of a frame clipped to the work area
inline constexpr int kWidestUngrownFrame = 7455;
inline constexpr int kDefaultWidth = 8025;
inline constexpr int kHeightWithoutPicture = 1530;

struct ScrollBar {
    bool shown = false;
    QRect place;
    int maximum = 0;      // picture length less the frame's: 0 shows the top or left edge
    int largeChange = 0;  // one frame's length
};

struct Layout {
    QSize form;
    QRect frame;  // the visible part of the picture
    ScrollBar horizontal;
    ScrollBar vertical;
};

// The layout for a picture of the given natural size.
Layout layoutFor(QSize picture, QSize workArea);

}  // namespace viewer
