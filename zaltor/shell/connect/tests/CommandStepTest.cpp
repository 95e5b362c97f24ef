// The command step: attempts, pauses, log lines, error reports and the close they bring.
#include <gtest/gtest.h>

#include <stdexcept>

#include "zaltor/shell/connect/CommandLogLine.h"
#include "zaltor/shell/connect/CommandStep.h"
#include "zaltor/shell/connect/tests/EngineFixture.h"

namespace zaltor::shell {
namespace {

using testing::Scripted;

struct CommandStepTest : ::testing::Test, testing::EngineFixture {
    CommandStepTest() {
        connection.line = 3;
        connection.address = 5;
        connection.lineStarted = true;
    }

    // Command 92 for poll-order slot 1: address 5, type 0x42.
    int step() {
        PanelCommand command{.code = 92, .params = {1, 0, 5, 0x42}, .count = 4};
        const StepTexts texts{3, "Прописывается блок №", "Ошибка при прописывании блока №3. ",
                              "Ошибка при прописывании блока", "Порядок опроса"};
        return commandStep(ctx, connection, command, texts, reply);
    }

    // The exchanges answer these codes in turn, then the panel answers.
    void answer(std::vector<Scripted> answers) {
        panel.script = [answers, i = size_t{0}](const testing::Exchange &) mutable -> std::optional<Scripted> {
            if (i < answers.size()) return answers[i++];
            return std::nullopt;
        };
    }

    PanelConnection connection;
    LintraEventRecord reply{};
};

TEST(CommandLogLineTest, EveryByteInDecimalWithTwoSpaces) {
    const uint8_t params[] = {1, 0, 255, 66};
    EXPECT_EQ(commandLogLine("Порядок опроса", 3, 5, 92, params),
              "Порядок опроса Линия:3 Адрес:5 Команда:92(5Ch) Параметров:4 Параметры:1  0  255  66  ");
    EXPECT_EQ(commandLogLine("Команда на начало опроса на линии", 12, 0, 6, {}),
              "Команда на начало опроса на линии Линия:12 Адрес:0 Команда:6(06h) Параметров:0 Параметры:");
}

TEST_F(CommandStepTest, GoodFirstAnswerStillPausesOnceWithTheDefaults) {
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(reply.code, 0);  // the panel's empty answer
    EXPECT_EQ(panel.exchangeTexts(), (std::vector<std::string>{"92: 01 00 05 42"}));
    EXPECT_EQ(clock.pauses, (std::vector<uint32_t>{50}));
    EXPECT_EQ(ui.statusLines, (std::vector<std::string>{"Прописывается блок № 3."}));
    EXPECT_EQ(gauge.steps, 1);
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{
                  "Порядок опроса Линия:3 Адрес:5 Команда:92(5Ch) Параметров:4 Параметры:1  0  5  66  ",
                  "^^^^^^^^^^ Линия:3 Адрес:5 Команда:92(5Ch) Параметров:4 Параметры:1  0  5  66  "}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(connection.lineStarted);
}

TEST_F(CommandStepTest, AttemptsPausesAndReports) {
    struct Case {
        const char *name;
        int replay;
        std::vector<Scripted> answers;
        int result;
        size_t exchanges;
        size_t pauses;
        const char *message;  // nullptr: none, connection kept
    };
    const Case cases[] = {
        {"answered at the third attempt", 3, {{0, 101}, {0, 3}}, 0, 3, 2, nullptr},
        {"never answered", 3, {{0, 101}, {0, 101}, {0, 101}}, 1, 3, 2,
         "Сообщение: Ошибка при прописывании блока №3.  Ev=101"},
        {"error answers only", 3, {{0, 3}, {0, 3}, {0, 3}}, 1, 3, 2, "Сообщение: Ошибка при прописывании блока №3.  Ev=3"},
        {"one attempt allowed", 1, {{0, 101}}, 1, 1, 0, "Сообщение: Ошибка при прописывании блока №3.  Ev=101"},
        {"no attempt allowed is one attempt", 0, {{0, 101}}, 1, 1, 0,
         "Сообщение: Ошибка при прописывании блока №3.  Ev=101"},
        {"refused by the library", 3, {{2, 0}}, 2, 1, 1,
         "Сообщение: Ошибка при прописывании блока №3. Недостаточно параметров Ev=0"},
        {"address refused by the library", 3, {{5, 0}}, 5, 1, 1,
         "Сообщение: Ошибка при прописывании блока №3. Неправильный параметр Ev=0"},
        {"line gone: fails without a message", 3, {{-4, 0}}, -4, 1, 1, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        testing::EngineFixture f;
        f.ctx.params.replayParam = c.replay;
        f.panel.script = [answers = c.answers, i = size_t{0}](const testing::Exchange &) mutable {
            return i < answers.size() ? std::optional<Scripted>(answers[i++]) : std::nullopt;
        };
        PanelConnection connection;
        connection.line = 3;
        connection.address = 5;
        connection.lineStarted = true;
        LintraEventRecord reply{};
        PanelCommand command{.code = 92, .params = {1, 0, 5, 0x42}, .count = 4};
        const StepTexts texts{3, "Прописывается блок №", "Ошибка при прописывании блока №3. ", "", "Порядок опроса"};

        EXPECT_EQ(commandStep(f.ctx, connection, command, texts, reply), c.result);
        EXPECT_EQ(f.panel.exchanges.size(), c.exchanges);
        EXPECT_EQ(f.clock.pauses.size(), c.pauses);
        if (c.message) {
            EXPECT_EQ(f.ui.messages, (std::vector<std::string>{c.message}));
            EXPECT_EQ(f.logLines().back(), std::string(c.message).substr(std::string("Сообщение: ").size()));
            EXPECT_EQ(f.panel.calls.back(), "CloseCom 3");
            EXPECT_FALSE(connection.lineStarted);
            EXPECT_EQ(f.gauge.steps, 0);
        } else {
            EXPECT_TRUE(f.ui.messages.empty());
            EXPECT_TRUE(connection.lineStarted);
        }
    }
}

TEST_F(CommandStepTest, RepeatsAreNumberedInTheLog) {
    answer({{0, 101}, {0, 101}});
    EXPECT_EQ(step(), 0);
    const std::string sent = " Линия:3 Адрес:5 Команда:92(5Ch) Параметров:4 Параметры:1  0  5  66  ";
    EXPECT_EQ(logLines(), (std::vector<std::string>{"Порядок опроса" + sent, "^^^^^^^^^^" + sent, "^^^^^^^^^^" + sent,
                                                    "2-й повтор команды", "^^^^^^^^^^" + sent, "3-й повтор команды"}));
}

TEST_F(CommandStepTest, AnExceptionShowsTheShortText) {
    answer({{.raises = true}});
    EXPECT_EQ(step(), kStepRaised);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"Сообщение: Ошибка при прописывании блока"}));
}

}  // namespace
}  // namespace zaltor::shell
