#include "zaltor/config/sequences/WriteSequence.h"

#include <algorithm>
#include <initializer_list>

#include "zaltor/config/BlockTypes.h"

namespace zaltor {
namespace {

shell::PanelCommand command(uint16_t code, std::initializer_list<uint8_t> params) {
    shell::PanelCommand c;
    c.code = code;
    std::copy(params.begin(), params.end(), c.params.begin());
    c.count = static_cast<uint16_t>(params.size());
    return c;
}

// The command of a 12-byte row: its bytes 0 and 1 replaced, `count` bytes sent.
shell::PanelCommand rowCommand(uint16_t code, const KeyRow &row, uint8_t b0, uint8_t b1, uint16_t count) {
    shell::PanelCommand c;
    c.code = code;
    std::copy(row.begin(), row.end(), c.params.begin());
    c.params[0] = b0;
    c.params[1] = b1;
    c.count = count;
    return c;
}

uint8_t high(int32_t address) { return static_cast<uint8_t>(address >> 8); }
uint8_t low(int32_t address) { return static_cast<uint8_t>(address); }

uint8_t typeCode(const BlcRecord &block) {
    return blockTypeCode(blockTypeByDbName(block.typeName)).value_or(kUnknownTypeCode);
}

std::string withNumber(const char *text, int number) { return text + std::to_string(number); }

void blocksAndZoneCount(std::vector<PlannedStep> &plan, const ConfigImage &image) {
    const int n = static_cast<int>(image.blocks.size());
    for (int j = 1; j <= n; ++j) {
        const BlcRecord &b = image.blocks[j - 1];
        plan.push_back({command(92, {static_cast<uint8_t>(j), high(b.address), low(b.address), typeCode(b)}),
                        {j, "Прописывается блок №", numbered("Ошибка при прописывании блока №", j),
                         "Ошибка при прописывании блока", "Порядок опроса"},
                        true});
    }
    for (int c = n + 1; c <= kPollSlots; ++c)
        plan.push_back({command(92, {static_cast<uint8_t>(c), 0xFF, 0xFF, kEmptySlotType}),
                        {c, "Прописывается блок №", numbered("Ошибка при прописывании блока №", c),
                         "Ошибка при прописывании блока", "Пустые блоки"},
                        true});
    for (int j = 1; j <= n; ++j) {
        const BlcRecord &b = image.blocks[j - 1];
        if (blockTypeByDbName(b.typeName) != kP03BlockType) continue;
        plan.push_back({command(102, {static_cast<uint8_t>(b.p03Number), high(b.address), low(b.address)}),
                        {j, "Прописывается блок №", numbered("Ошибка при прописывании P03 блока №", b.p03Number),
                         "Ошибка при прописывании P03 блока", "Р03 блоки"},
                        false});
    }
    // Shown with the poll-order number that follows the last one written.
    const int item = std::max(n, kPollSlots) + 1;
    const char *text = "Ошибка при прописывании послед.зоны.";
    plan.push_back({command(94, {static_cast<uint8_t>(std::clamp(image.zoneCount, 0, ConfigImage::kZoneSlots))}),
                    {item, "Последняя опраш. зона", text, text, "Последняя опраш. зона"},
                    false});
}

void zones(std::vector<PlannedStep> &plan, const ConfigImage &image) {
    for (int s = 1; s <= ConfigImage::kZoneSlots; ++s) {
        const ZoneSlot &z = image.zones[s - 1];
        if (z.zoneNumber == 0) continue;
        const int zone = z.zoneNumber;
        const auto flags = static_cast<uint8_t>(z.grd | z.inv << 1 | z.shContr << 2 | z.autoSet << 5);
        plan.push_back({command(82, {z.zoneNumber, flags}),
                        {s, withNumber("Прописывается зона №", s),
                         numbered("Ошибка при прописывании настройки зоны №", zone),
                         "Ошибка при прописывании настройки зоны", "Настройка для зоны"},
                        true});
        plan.push_back({command(103, {0, z.zoneNumber, z.delaySet}),
                        {s, withNumber("Прописывается отлож. пост. зоны №", s),
                         numbered("Ошибка при прописывании отлож. пост. зоны №", zone),
                         "Ошибка при прописывании отлож. пост. зоны", "Отлож. постановка для зоны"},
                        false});
        plan.push_back({command(103, {1, z.zoneNumber, z.delaySns}),
                        {s, withNumber("Прописывается отлож. срабатывания зоны №", s),
                         numbered("Ошибка при прописывании отлож. срабатывания зоны №", zone),
                         "Ошибка при прописывании отлож. срабатывания зоны", "Отлож. срабатывание для зоны"},
                        false});
    }
}

void keysAndSections(std::vector<PlannedStep> &plan, const ConfigImage &image) {
    for (int u = 0; u < ConfigImage::kUsers; ++u)
        plan.push_back({rowCommand(8, image.cards[u], 1, static_cast<uint8_t>(u), 6),
                        {u, withNumber("Прописывается карта №", u), numbered("Ошибка при прописывании карты №", u),
                         "Ошибка при прописывании карты", "Карта (код)"},
                        true});
    // User 0 has no password on the panel.
    for (int u = 1; u < ConfigImage::kUsers; ++u)
        plan.push_back({rowCommand(8, image.passwords[u], 0, static_cast<uint8_t>(u), 6),
                        {u, withNumber("Прописывается пароль №", u), numbered("Ошибка при прописывании пароля №", u),
                         "Ошибка при прописывании пароля", "Карта (пароль)"},
                        true});
    for (int r = 0; r < ConfigImage::kSections; ++r)
        for (int q = 0; q < ConfigImage::kQuarters; ++q)
            plan.push_back({rowCommand(84, image.sections[r][q], static_cast<uint8_t>(r), static_cast<uint8_t>(q), 10),
                            {r, withNumber("Прописывается раздел №", r),
                             numbered("Ошибка при прописывании раздела №", r), "Ошибка при прописывании раздела",
                             "Разделы"},
                            true});
}

}  // namespace

std::vector<PlannedStep> writePlan(const ConfigImage &image) {
    std::vector<PlannedStep> plan;
    blocksAndZoneCount(plan, image);
    zones(plan, image);
    keysAndSections(plan, image);
    return plan;
}

SequenceResult writeSequence(shell::EngineContext &ctx, shell::PanelConnection &connection, const ConfigImage &image) {
    return guardSequence(ctx, connection, [&] {
        LintraEventRecord reply{};
        for (const PlannedStep &step : writePlan(image))
            if (const auto end = runStep(ctx, connection, step, reply)) return *end;
        return SequenceResult::Completed;
    });
}

}  // namespace zaltor
