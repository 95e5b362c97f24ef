#include "zaltor/config/dbbuild/DbBuild.h"

#include "zaltor/config/BlockTypes.h"
#include "zaltor/config/dbbuild/BuildQueries.h"
#include "zaltor/config/dbbuild/SectionRows.h"
#include "zaltor/config/dbbuild/SqlValues.h"
#include "zaltor/config/dbbuild/UserRows.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <optional>
#include <utility>

namespace zaltor::dbbuild {
namespace {

// M35, like M39, has no zone rows of its own and takes a P03 number.
constexpr int kM35BlockType = 6;

struct DbError {
    QString text;
};

QSqlQuery prepared(const QSqlDatabase &db, const char *text) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QString::fromUtf8(text))) throw DbError{query.lastError().text()};
    return query;
}

void execute(QSqlQuery &query) {
    if (!query.exec()) throw DbError{query.lastError().text()};
}

int64_t integerField(const QSqlQuery &row, const QString &column) {
    if (row.record().indexOf(column) < 0)
        throw DbError{QStringLiteral("Поле %1 не найдено").arg(column)};
    const QVariant value = row.value(column);
    const auto n = integerOrZero(value);
    if (!n)
        throw DbError{
            QStringLiteral("Поле %1: '%2' не является целым числом").arg(column, value.toString())};
    return *n;
}

uint8_t byteField(const QSqlQuery &row, const QString &column) {
    return lowByte(integerField(row, column));
}
uint8_t flagField(const QSqlQuery &row, const QString &column) {
    return flagOf(integerField(row, column));
}

// The zone or channel row of one block, prepared on first use: a site without control blocks
// needs no DEVTAB.
class ZoneRowQuery {
  public:
    ZoneRowQuery(const QSqlDatabase &db, const char *text, QString numberParameter)
        : db_(db), text_(text), numberParameter_(std::move(numberParameter)) {}

    // Positions on the row; false when the block has none for that number.
    bool find(int64_t block, int number) {
        if (!query_) query_ = prepared(db_, text_);
        query_->bindValue(QStringLiteral(":N"), qlonglong(block));
        query_->bindValue(numberParameter_, number);
        execute(*query_);
        if (query_->next()) return true;
        if (query_->lastError().isValid()) throw DbError{query_->lastError().text()};
        return false;
    }
    const QSqlQuery &row() const { return *query_; }

  private:
    const QSqlDatabase &db_;
    const char *text_;
    QString numberParameter_;
    std::optional<QSqlQuery> query_;
};

class ImageBuilder {
  public:
    ImageBuilder(const QSqlDatabase &db, ConfigImage &image)
        : image_(image),
          sensors_(db, kSensorZoneQuery, QStringLiteral(":INN")),
          channels_(db, kControlChannelQuery, QStringLiteral(":OUTN")) {}

    void addBlock(const QSqlQuery &row) {
        BlcRecord &entry = image_.blocks.emplace_back();
        entry.address = static_cast<int32_t>(integerField(row, QStringLiteral("ADDR")));
        entry.typeName = row.value(QStringLiteral("CTYPE")).toString().toStdString();
        const int type = blockTypeByDbName(entry.typeName);
        if (type == 0) return;
        const int64_t block = integerField(row, QStringLiteral("N"));
        if (type == kP03BlockType || type == kM35BlockType) entry.p03Number = ++p03Count_;
        for (int number = 1; number <= blockTypeZones(type); ++number) {
            ZoneSlot *slot = takeSlot();
            if (!slot) continue;
            if (type == kP03BlockType)
                emptySlot(*slot, number);
            else if (type == kControlBlockType)
                channelSlot(*slot, block, number);
            else
                sensorSlot(*slot, block, number);
        }
    }

    int slotsTaken() const { return slotsTaken_; }

  private:
    // Every slot taken is counted; one past slot 200 is not stored and its row not read.
    ZoneSlot *takeSlot() {
        ++slotsTaken_;
        return slotsTaken_ <= ConfigImage::kZoneSlots ? &image_.zones[slotsTaken_ - 1] : nullptr;
    }

    // A zone without a row is still written, under the number of its own slot.
    void emptySlot(ZoneSlot &slot, int number) {
        slot = ZoneSlot{};
        slot.numberInBlock = lowByte(number);
        slot.zoneNumber = lowByte(slotsTaken_);
    }

    void sensorSlot(ZoneSlot &slot, int64_t block, int inn) {
        if (!sensors_.find(block, inn)) return emptySlot(slot, inn);
        const QSqlQuery &row = sensors_.row();
        slot.kind = kSensorZone;
        slot.numberInBlock = lowByte(inn);
        slot.grd = flagField(row, QStringLiteral("GRD"));
        slot.inv = flagField(row, QStringLiteral("NC"));
        slot.shContr = flagField(row, QStringLiteral("SHCONTR"));
        slot.delaySns = byteField(row, QStringLiteral("DELAYSNS"));
        slot.delaySet = byteField(row, QStringLiteral("DELAYSET"));
        slot.autoSet = flagField(row, QStringLiteral("AUTOSET"));
        slot.zoneNumber = byteField(row, QStringLiteral("ZONENUMBER"));
    }

    void channelSlot(ZoneSlot &slot, int64_t block, int outn) {
        if (!channels_.find(block, outn)) return emptySlot(slot, outn);
        const QSqlQuery &row = channels_.row();
        slot = ZoneSlot{};
        slot.kind = kControlChannel;
        slot.numberInBlock = lowByte(outn);
        slot.grd = flagField(row, QStringLiteral("CAN_ACTIVE"));
        slot.shContr = flagField(row, QStringLiteral("CAN_CONTROL"));
        slot.zoneNumber = byteField(row, QStringLiteral("ZONENUMBER"));
    }

    ConfigImage &image_;
    ZoneRowQuery sensors_;
    ZoneRowQuery channels_;
    int slotsTaken_ = 0;
    int p03Count_ = 0;
};

}  // namespace

BuildResult buildFromDatabase(const QSqlDatabase &db, int panel, ConfigImage &image,
                              shell::IEngineUi &ui, const shell::OperationState &state) {
    if (!state.operation) return {BuildStatus::kStopped, {}};
    image.reset();
    try {
        ImageBuilder builder(db, image);
        QSqlQuery blocks = prepared(db, kBlocksQuery);
        blocks.bindValue(QStringLiteral(":N"), panel);
        execute(blocks);
        for (int position = 1; blocks.next(); ++position) {
            if (!state.operation) return {BuildStatus::kStopped, {}};
            ui.progress(position, kBlockProgressText);
            builder.addBlock(blocks);
        }
        if (blocks.lastError().isValid()) throw DbError{blocks.lastError().text()};
        image.zoneCount = builder.slotsTaken();
    } catch (const DbError &e) {
        return {BuildStatus::kDatabaseError, e.text};
    }
    loadUsers(db, panel, image);
    loadSections(db, panel, image);
    return {};
}

}  // namespace zaltor::dbbuild
