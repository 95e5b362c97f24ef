// Connecting by values and closing: the calls into the library, the log, the messages.
#include <gtest/gtest.h>

#include <stdexcept>

#include "zaltor/shell/connect/CloseConnection.h"
#include "zaltor/shell/connect/ConnectByValues.h"
#include "zaltor/shell/connect/tests/EngineFixture.h"

namespace zaltor::shell {
namespace {

using testing::Scripted;
using Lines = std::vector<std::string>;

// Line 3, address 5 on COM2.
PanelConnection serialConnection() {
    PanelConnection c;
    c.line = 3;
    c.address = 5;
    c.portNumber = 2;
    return c;
}

struct ConnectTest : ::testing::Test, testing::EngineFixture {

    void viaNetController() {
        connection.host = "10.0.0.5";
        connection.networkPort = "21302";
    }

    // The panel gives this reply code to every search; the clock moves `ms` per exchange.
    void searchAnswers(uint16_t code, uint64_t ms) {
        panel.exchangeMs = ms;
        panel.script = [code](const testing::Exchange &) { return std::optional<Scripted>({0, code}); };
    }

    bool connect() { return connectByValues(ctx, connection, 77, &bar); }

    PanelConnection connection = serialConnection();
    testing::RecordingBar bar;
};

TEST_F(ConnectTest, SerialPanelFound) {
    EXPECT_TRUE(connect());
    EXPECT_EQ(panel.calls, (Lines{"StartPanel 3 COM2 77 5", "LCBCommand 3 6 0", "SendCmdGetReply 86", "LCBCommand 3 5 0"}));
    EXPECT_EQ(logLines(), (Lines{
                              "  ",
                              "15.06.2026 12:00:00",
                              "Инициализация СОМ порта COM2 Addr=5",
                              "Команда на начало опроса на линии Линия:3 Адрес:0 Команда:6(06h) Параметров:0 Параметры:",
                              "Ищется связь с панелью Линия:3 Адрес:5 Команда:86(56h) Параметров:0 Параметры:",
                              "Спрашивали последнее событие, пришел ответ от панели: 87",
                              "Связь найдена",
                              "Команда на конец опроса на линии Линия:3 Адрес:0 Команда:5(05h) Параметров:0 Параметры:",
                          }));
    EXPECT_EQ(clock.pauses, std::vector<uint32_t>(30, 50));
    EXPECT_EQ(bar.max, 200);
    EXPECT_EQ(bar.steps, 31);  // the thirty waits and one search
    EXPECT_EQ(bar.position, 200);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(connection.lineStarted);
    EXPECT_EQ(connection.driverHandle, -1);
    EXPECT_EQ(connection.lineId, -1);
}

TEST_F(ConnectTest, ThroughANetControllerAndClosedOnce) {
    viaNetController();
    connection.portNumber = 0;  // the lowest free line of the controller
    EXPECT_TRUE(connect());
    closeConnection(ctx, connection);
    closeConnection(ctx, connection);
    EXPECT_EQ(panel.calls, (Lines{"DriverCreate 1 HOST=10.0.0.5\r\nPORT=21302\r\nLogLevel=7\r\n",
                                  "DriverLineCreate 4 -1 4 null", "DriverDoCmd 4 2", "StartPanel 3 LIN7 77 5",
                                  "LCBCommand 3 6 0", "SendCmdGetReply 86", "LCBCommand 3 5 0", "CloseCom 3",
                                  "DriverLineDoCmd 7 9", "DriverDoCmd 4 9"}));
    EXPECT_EQ(ui.indicatorHidden, 2);
}

TEST_F(ConnectTest, ANetControllerThatCannotBeCreatedFailsQuietly) {
    for (const int32_t refused : {-1, -2, -3}) {
        testing::EngineFixture f;
        f.panel.driverResult = refused;
        PanelConnection c = serialConnection();
        c.host = "h";
        c.networkPort = "p";
        EXPECT_FALSE(connectByValues(f.ctx, c, 0, nullptr));
        EXPECT_EQ(f.panel.calls, (Lines{"DriverCreate 1 HOST=h\r\nPORT=p\r\nLogLevel=7\r\n"}));
        EXPECT_TRUE(f.ui.messages.empty());
        EXPECT_EQ(c.driverHandle, -1);
    }
}

TEST_F(ConnectTest, ALineThatDoesNotStartIsReportedAndLeftToItsOwner) {
    struct Case {
        int32_t result;
        const char *message;
    };
    const Case cases[] = {
        {-1, "Сообщение: Нет связи с панелью.Линия занята"},
        {-2, "Сообщение: Нет связи с панелью.Неверные параметры"},
        {-4, "Сообщение: Нет связи с панелью.Не удается открыть СОМ-порт"},
        {0, "Сообщение: Нет связи с панелью."},
    };
    for (const Case &c : cases) {
        for (const bool net : {false, true}) {
            testing::EngineFixture f;
            f.panel.startResult = c.result;
            PanelConnection conn = serialConnection();
            if (net) conn.host = "h", conn.networkPort = "p";
            EXPECT_FALSE(connectByValues(f.ctx, conn, 0, nullptr));
            EXPECT_EQ(f.ui.messages, (Lines{c.message}));
            // A line in use (-1) belongs to someone else: it is never closed from here.
            const Lines expected = net ? Lines{"StartPanel 3 LIN7 0 5", "DriverLineDoCmd 7 9", "DriverDoCmd 4 9"}
                                       : Lines{"StartPanel 3 COM2 0 5"};
            EXPECT_EQ(Lines(f.panel.calls.end() - expected.size(), f.panel.calls.end()), expected);
            EXPECT_EQ(f.ui.indicatorHidden, 1);
        }
    }
}

TEST_F(ConnectTest, AnExceptionWhileOpeningIsReported) {
    panel.startRaises = true;
    EXPECT_FALSE(connect());
    EXPECT_EQ(ui.messages, (Lines{"Сообщение: Нет связи с панелью."}));
    EXPECT_EQ(ui.indicatorHidden, 1);
    EXPECT_FALSE(connection.lineStarted);
}

TEST_F(ConnectTest, APanelThatNeverAnswersIsSearchedForThirtySeconds) {
    searchAnswers(101, 1000);
    EXPECT_FALSE(connect());
    // Searching began 1.5 s after the start; it stops at the first answer more than 30 s later.
    EXPECT_EQ(panel.count(86), 31u);
    const Lines log = logLines();
    EXPECT_EQ(log[log.size() - 3], "Спрашивали последнее событие, пришел ответ от панели: 101");
    EXPECT_EQ(log[log.size() - 2], "!!!!! Связь не найдена");
    EXPECT_EQ(panel.calls.back(), "LCBCommand 3 5 0");
    EXPECT_TRUE(connection.lineStarted);  // the caller closes it
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConnectTest, ErrorAnswersAreSearchedThroughUntilAValidOne) {
    panel.script = [n = 0](const testing::Exchange &) mutable -> std::optional<Scripted> {
        if (n++ < 2) return Scripted{0, n == 1 ? uint16_t{3} : uint16_t{101}};
        return std::nullopt;
    };
    EXPECT_TRUE(connect());
    EXPECT_EQ(panel.count(86), 3u);
}

TEST_F(ConnectTest, ACommandTheLibraryRefusesEndsTheSearch) {
    panel.script = [](const testing::Exchange &) { return std::optional<Scripted>({1, 0}); };
    EXPECT_FALSE(connect());
    EXPECT_EQ(panel.count(86), 1u);
    EXPECT_EQ(logLines()[6], "!!!!! Связь не найдена");
}

TEST_F(ConnectTest, AnAbortStopsTheConnection) {
    struct Case {
        const char *name;
        int eventsBeforeAbort;
        size_t searches;
    };
    const Case cases[] = {{"while settling", 10, 0}, {"while searching", 32, 2}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        testing::EngineFixture f;
        f.panel.script = [](const testing::Exchange &) { return std::optional<Scripted>({0, 101}); };
        f.ui.onEvents = [&f, n = c.eventsBeforeAbort]() mutable {
            if (--n == 0) f.state.operation = false;
        };
        PanelConnection conn = serialConnection();
        EXPECT_FALSE(connectByValues(f.ctx, conn, 0, nullptr));
        EXPECT_EQ(f.panel.count(86), c.searches);
        EXPECT_TRUE(conn.lineStarted);
    }
}

TEST_F(ConnectTest, AConnectionOutsideAnOperationIgnoresTheClearedFlag) {
    state.operation = false;  // the console connects without an operation running
    EXPECT_TRUE(connect());
}

TEST_F(ConnectTest, PollingCommandsThatRaiseAreOnlyLogged) {
    panel.pollingRaises = true;
    EXPECT_TRUE(connect());
    const Lines log = logLines();
    EXPECT_EQ(log[4], "Команда на начало опроса не прошла!");
    EXPECT_EQ(log.back(), "Команда на конец опроса не прошла!");
    EXPECT_EQ(bar.position, 31);  // not set to the end
}

TEST_F(ConnectTest, ACloseThatRaisesIsReported) {
    EXPECT_TRUE(connect());
    panel.closeRaises = true;
    closeConnection(ctx, connection);
    EXPECT_EQ(ui.messages, (Lines{"Сообщение: Ошибка закрытия COM-порта/подключения по сети"}));
}

}  // namespace
}  // namespace zaltor::shell
