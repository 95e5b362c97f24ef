#include "zaltor/console/ConsoleSession.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace zaltor::console {
namespace {

// Records every call as one line of text; connect answers are set by the test.
class FakeLink : public ConsoleLink {
public:
    OpenedConnection answer{true, -1, -1, 4, 7};
    bool throwOnConnect = false;
    std::vector<std::string> calls;

    OpenedConnection connectByValues(const ManualConnection &v) override {
        calls.push_back("values " + std::to_string(v.address) + " " + std::to_string(v.line) + " " +
                        std::to_string(v.portNumber) + " [" + v.host + "] [" + v.networkPort + "]");
        if (throwOnConnect) throw std::runtime_error("port");
        return answer;
    }
    OpenedConnection connectByTable(int panelNumber) override {
        calls.push_back("table " + std::to_string(panelNumber));
        return answer;
    }
    void close(int line, int32_t driver, int32_t lineId) override {
        calls.push_back("close " + std::to_string(line) + " " + std::to_string(driver) + " " +
                        std::to_string(lineId));
    }
    void call(int line, int address, const LibraryCall &c) override {
        calls.push_back("call " + std::to_string(line) + " " + std::to_string(address) + " " +
                        std::to_string(c.command));
    }
};

class FakeView : public ConsoleView {
public:
    std::vector<std::string> shown;  // notes, boxes and button states in order
    void note(std::string_view text) override { shown.push_back(std::string(text)); }
    void showMessage(std::string_view text) override { shown.push_back("box " + std::string(text)); }
    void setDialogButtonsEnabled(bool on) override { shown.push_back(on ? "buttons on" : "buttons off"); }
    void resetProgress() override { shown.push_back("progress 0"); }
};

ConsoleForm typed(bool viaNetController) {
    ConsoleForm form;
    form.manualSelected = true;
    form.address = 3;
    form.line = 9;
    form.portNumber = 2;
    form.viaNetController = viaNetController;
    form.host = "10.0.0.5";
    form.networkPort = "4001";
    form.password = "secret";
    return form;
}

struct ConsoleSessionTest : ::testing::Test {
    FakeLink link;
    FakeView view;
    ConsoleSession session{link, view};
    std::tm now{};
};

TEST_F(ConsoleSessionTest, ConnectsByTypedValuesAndCommandsUseThem) {
    session.show(42);
    session.connect(typed(true));
    ASSERT_TRUE(session.connected());
    session.command(OperatorCommand::GuardOn, 5, "5", now);
    EXPECT_EQ(link.calls, (std::vector<std::string>{"values 3 9 2 [10.0.0.5] [4001]", "call 9 3 80"}));
    EXPECT_EQ(view.shown, (std::vector<std::string>{"=> установить связь", "buttons off",
                                                    "Связь установлена", "box Связь установлена!",
                                                    "progress 0", "buttons on",
                                                    "=> Поставить на охр. - зона 5"}));
}

TEST_F(ConsoleSessionTest, WhichWayItConnects) {
    struct Case {
        std::optional<int> panelNumber;
        bool manual, viaNetController;
        std::string expectedCall;
    };
    const std::vector<Case> cases = {
        {42, false, true, "table 42"},
        {42, true, false, "values 3 9 2 [] []"},  // typed host ignored without the box ticked
        {std::nullopt, false, true, "values 3 9 2 [10.0.0.5] [4001]"},  // no database: by values
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expectedCall);
        FakeLink caseLink;
        FakeView caseView;
        ConsoleSession s(caseLink, caseView);
        s.show(c.panelNumber);
        ConsoleForm form = typed(c.viaNetController);
        form.manualSelected = c.manual;
        s.connect(form);
        EXPECT_EQ(caseLink.calls, std::vector<std::string>{c.expectedCall});
    }
}

TEST_F(ConsoleSessionTest, DatabaseConnectionUsesTheLineAndAddressFound) {
    link.answer = {true, 12, 40, -1, -1};
    session.show(42);
    ConsoleForm form = typed(false);
    form.manualSelected = false;
    session.connect(form);
    session.command(OperatorCommand::StopAlarm, 1, "1", now);
    EXPECT_EQ(link.calls.back(), "call 12 40 105");
}

TEST_F(ConsoleSessionTest, SecondConnectDoesNothing) {
    session.show(std::nullopt);
    session.connect(typed(false));
    const std::size_t shownAfterFirst = view.shown.size();
    session.connect(typed(false));
    EXPECT_EQ(link.calls.size(), 1u);
    EXPECT_EQ(view.shown.size(), shownAfterFirst);
}

TEST_F(ConsoleSessionTest, FailedConnectionIsClosedAndCommandsDoNothing) {
    for (bool throws : {false, true}) {
        SCOPED_TRACE(throws);
        FakeLink caseLink;
        FakeView caseView;
        ConsoleSession s(caseLink, caseView);
        caseLink.answer = {false, -1, -1, 4, 7};
        caseLink.throwOnConnect = throws;
        s.show(std::nullopt);
        s.connect(typed(true));
        s.command(OperatorCommand::StartPolling, 1, "1", now);
        EXPECT_FALSE(s.connected());
        EXPECT_EQ(caseLink.calls[1], throws ? "close -1 -1 -1" : "close 9 4 7");
        EXPECT_EQ(caseLink.calls.size(), 2u);
        EXPECT_EQ(caseView.shown, (std::vector<std::string>{"=> установить связь", "buttons off", "Нет связи",
                                                            "box Нет связи!", "progress 0", "buttons on"}));
    }
}

TEST_F(ConsoleSessionTest, HandlesAreClosedOnceAndThenForgotten) {
    session.show(std::nullopt);
    session.connect(typed(true));
    session.disconnect();
    session.closeWindow();
    EXPECT_EQ(link.calls, (std::vector<std::string>{"values 3 9 2 [10.0.0.5] [4001]", "close 9 4 7",
                                                    "close -1 -1 -1"}));
    EXPECT_EQ(std::vector<std::string>(view.shown.end() - 3, view.shown.end()),
              (std::vector<std::string>{"=> Завершить связь", "связь завершена", "progress 0"}));
    session.command(OperatorCommand::StartPolling, 1, "1", now);
    EXPECT_EQ(link.calls.size(), 3u);
}

TEST_F(ConsoleSessionTest, FieldsFollowTheManualItemAndTheNetworkBox) {
    session.show(42);
    EXPECT_EQ(session.fieldStates(false, true), (FieldStates{false, false}));
    EXPECT_EQ(session.fieldStates(true, false), (FieldStates{true, false}));
    EXPECT_EQ(session.fieldStates(true, true), (FieldStates{true, true}));
    session.show(std::nullopt);
    EXPECT_EQ(session.fieldStates(false, true), (FieldStates{true, true}));
}

}  // namespace
}  // namespace zaltor::console
