// Automation values to Qt's and back. A target type steers the conversion into Qt (a Long
// becomes a QColor for a colour property, a picture object a QPixmap for a pixmap property);
// values coming back take the nearest automation type.
#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QVariant>

#include "automation/variant.h"

namespace quelo::qt {

// An invalid target type means "whatever fits the value".
Result<QVariant> toQVariant(const Variant& v, QMetaType target = QMetaType());
Variant fromQVariant(const QVariant& v);

QDateTime dateTimeOf(Date d);
Date dateOf(const QDateTime& t);

}  // namespace quelo::qt
