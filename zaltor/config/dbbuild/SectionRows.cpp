#include "zaltor/config/dbbuild/SectionRows.h"

#include "zaltor/config/dbbuild/BuildQueries.h"
#include "zaltor/config/dbbuild/SqlValues.h"

#include <QSqlQuery>

namespace zaltor::dbbuild {

void loadSections(const QSqlDatabase &db, int panel, ConfigImage &image) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(kSectionsQuery)) return;
    query.bindValue(QStringLiteral(":N"), panel);
    if (!query.exec()) return;
    while (query.next()) {
        const auto zone = rowNumber(query.value(QStringLiteral("N")));
        const auto section = rowNumber(query.value(QStringLiteral("SNUMBER")));
        if (!zone || *zone < 1 || *zone > ConfigImage::kZoneSlots) continue;
        if (!section || *section < 0 || *section >= ConfigImage::kSections) continue;
        const SectionBit at = sectionBitOf(static_cast<int>(*zone));
        image.sections[*section][at.quarter][2 + at.maskByte] |= at.bit;
    }
}

}  // namespace zaltor::dbbuild
