#include "images/ViewerLayout.h"

#include <algorithm>

namespace viewer {

Layout layoutFor(QSize picture, QSize workArea) {
    Layout layout;
    layout.frame = QRect(kFrame.topLeft(), picture);
    layout.form.setHeight(kFrame.top() + picture.height() + kHeightMargin);
    if (layout.form.height() > workArea.height()) {
        layout.form.setHeight(workArea.height());
        layout.frame.setHeight(std::max(0, workArea.height() - kFrame.top() - kHeightMargin));
        layout.vertical = {
            true, QRect(kVerticalBar.topLeft(), QSize(kVerticalBar.width(), layout.frame.height())),
            picture.height() - layout.frame.height(), layout.frame.height()};
    }
    if (picture.width() <= kWidestUngrownFrame) {
        layout.form.setWidth(kDefaultWidth);
    } else {
        layout.form.setWidth(picture.width() + kWidthMargin);
        if (layout.form.width() > workArea.width()) {
            layout.form.setWidth(workArea.width());
            layout.frame.setWidth(
                std::max(0, workArea.width() - kFrame.left() - kClippedRightMargin));
            // Under the frame, after any clipping of its height.
            layout.horizontal = {true,
                                 QRect(kHorizontalBar.left(), layout.frame.bottom() + 1,
                                       layout.frame.width(), kHorizontalBar.height()),
                                 picture.width() - layout.frame.width(), layout.frame.width()};
        }
    }
    if (layout.vertical.shown) {
        // Right of the frame, after any clipping of its width.
        layout.vertical.place.moveLeft(layout.frame.right() + 1);
    }
    return layout;
}

}  // namespace viewer
