#include "zaltor/config/sequences/ReadSequence.h"

#include <algorithm>
#include <initializer_list>

#include "zaltor/config/ConfigImage.h"
#include "zaltor/config/sequences/SequenceStep.h"

namespace zaltor {
namespace {

class Reading {
public:
    Reading(shell::EngineContext &ctx, shell::PanelConnection &connection, RecordBuffer &buffer)
        : ctx_(ctx), connection_(connection), buffer_(buffer) {}

    SequenceResult run() {
        for (int i = 1; i <= kPollSlots; ++i)
            if (!read(true, 91, {uint8_t(i)},
                      {i, "Считывается блок №", numbered("Ошибка при считывании блока №", i),
                       "Ошибка при считывании блока", "Порядок опроса"}))
                return end_;

        const char *zoneCountError = "Ошибка при считывании посл. опр. зоны";
        if (!read(true, 93, {},
                  {kPollSlots + 1, "Считывается посл. опр. зона", zoneCountError, zoneCountError,
                   "Последняя опр. зона"}))
            return end_;
        const int zoneCount = reply_.data[0];

        for (int u = 0; u < ConfigImage::kUsers; ++u) {
            const auto user = static_cast<uint8_t>(u);
            for (const uint8_t kind : {0, 1}) {
                // The first key command of a user number carries the flag check.
                if (!read(kind == 0, 12, {kind, user},
                          {u, "Считывается ключ №", numbered("Ошибка при считывании ключа №", u),
                           "Ошибка при считывании ключа", "Иноформация о ключе"},
                          user))
                    return end_;
            }
            for (int q = 0; q < ConfigImage::kQuarters; ++q)
                if (!read(false, 85, {user, uint8_t(q)},
                          {u, "Считывается ключ (разделы) №",
                           "Ошибка при считывании ключа №" + std::to_string(u) + ".(разделы)",
                           "Ошибка при считывании ключа (разделы)", "Информация о ключе (разделы)"}))
                    return end_;
        }

        for (int z = 1; z <= zoneCount; ++z) {
            const auto zone = static_cast<uint8_t>(z);
            if (!read(true, 81, {zone},
                      {z, "Считывается инф. о зоне №", numbered("Ошибка при считывании зоны №", z),
                       "Ошибка при считывании зоны", "Иноформация о зоне"}) ||
                !read(false, 104, {0, zone},
                      {z, "Считывается отлож. постановка для зоны №",
                       numbered("Ошибка при считывании отлож. пост. зоны №", z),
                       "Ошибка при считывании отлож. пост. зоны", "Иноф. о зоне - отлож. постановка"}) ||
                !read(false, 104, {1, zone},
                      {z, "Считывается отлож. срабатывание для зоны №",
                       numbered("Ошибка при считывании отлож. сраб. зоны №", z),
                       "Ошибка при считывании отлож. сраб. зоны", "Иноф. о зоне - отложенное срабатывание"}))
                return end_;
        }
        return ctx_.state.operation ? SequenceResult::Completed : SequenceResult::Aborted;
    }

private:
    // One command and its record; a key reply is stored with six data bytes and the user in d5.
    bool read(bool checksFlag, uint16_t code, std::initializer_list<uint8_t> params, shell::StepTexts texts,
              std::optional<uint8_t> keyUser = std::nullopt) {
        PlannedStep step{{}, std::move(texts), checksFlag};
        step.command.code = code;
        std::copy(params.begin(), params.end(), step.command.params.begin());
        step.command.count = static_cast<uint16_t>(params.size());
        if (const auto end = runStep(ctx_, connection_, step, reply_)) {
            end_ = *end;
            return false;
        }
        CommandRecord record = toCommandRecord(reply_);
        if (keyUser) {
            record.dataCount = 6;
            record.data[5] = *keyUser;
        }
        // A full buffer drops the record; a reading's at most 2 352 records never fill it.
        (void)buffer_.append(record);
        return true;
    }

    shell::EngineContext &ctx_;
    shell::PanelConnection &connection_;
    RecordBuffer &buffer_;
    LintraEventRecord reply_{};
    SequenceResult end_ = SequenceResult::Failed;
};

}  // namespace

int readPanel(shell::EngineContext &ctx, shell::PanelConnection &connection, RecordBuffer &buffer) {
    buffer.clear();
    const SequenceResult result =
        guardSequence(ctx, connection, [&] { return Reading(ctx, connection, buffer).run(); });
    return result == SequenceResult::Completed ? static_cast<int>(buffer.byteCount()) : -1;
}

}  // namespace zaltor
