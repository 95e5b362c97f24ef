#pragma once
// The panel's section memberships into the section masks of the image.
#include "zaltor/config/ConfigImage.h"

#include <QSqlDatabase>

namespace zaltor::dbbuild {

// Sets the bit of zone N in section SNUMBER for each row with N in 1..200 and SNUMBER in
// 0..255; other rows are skipped. An unreadable sections table reads as no rows.
void loadSections(const QSqlDatabase &db, int panel, ConfigImage &image);

}  // namespace zaltor::dbbuild
