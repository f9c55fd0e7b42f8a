#pragma once
// Memory for the control's layers. A page step writes the traces column by column, one row
// after another, and each row of a 1920-pixel layer lies in another 4 KiB memory page: two
// such layers need thousands of address translations, more than the processor keeps. The
// layers of 2 MiB and more are therefore allocated on 2 MiB boundaries and the kernel asked
// to back them with huge pages where it can (nothing changes where it cannot).

#include <QImage>
#include <QSize>

namespace viewer {

// An image of `size` and `format` (32 bits a pixel), its pixels left as they come; null for
// an empty size or when the memory cannot be had.
QImage layerImage(QSize size, QImage::Format format);

} // namespace viewer
