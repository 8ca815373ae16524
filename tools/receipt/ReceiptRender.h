#pragma once
// Two views of a laid-out receipt: text for the terminal and a picture of the paper.

#include "ReceiptLayout.h"

#include <QImage>
#include <QString>

namespace receipt_view {

// One line per row behind a gutter: "H" double height, "W" double width, "B" bold.
QString RenderText(const QList<Row>& rows);

// Needs a QGuiApplication. Hangul in a Korean font from fonts-nanum.
QImage RenderPicture(const QList<Row>& rows);

}  // namespace receipt_view
