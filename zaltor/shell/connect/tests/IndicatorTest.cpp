// The indicator's texts, the batch user interface and the abort request.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "zaltor/shell/connect/AbortRequest.h"
#include "zaltor/shell/connect/ProgressText.h"
#include "zaltor/shell/connect/StderrUi.h"

namespace zaltor::shell {
namespace {

TEST(ProgressTextTest, StatusLineIsWholeTipIsCutToSixtyThreeCharacters) {
    EXPECT_EQ(progressLine(5, "Прописывается зона №5"), "Прописывается зона №5 5.");

    const std::string line = progressLine(17, "Прописывается отлож. срабатывания зоны №17 и ещё немного текста");
    const std::string tip = indicatorTip(line);
    // The expected tip is exactly 63 characters, two bytes each for the Cyrillic ones.
    EXPECT_EQ(tip, "Прописывается отлож. срабатывания зоны №17 и ещё немного текста");
    EXPECT_EQ(indicatorTip(line + "ЖЖЖ"), tip);
    EXPECT_EQ(indicatorTip("short 1."), "short 1.");
}

TEST(StderrUiTest, WritesEverythingAndAnswersTheFixedAnswer) {
    for (const bool answer : {true, false}) {
        std::ostringstream out;
        StderrUi ui(out, answer);
        ui.showIndicator();
        ui.progress(3, "Прописывается блок №");
        ui.showMessage("Нет связи с панелью", kMessageCaption, MessageIcon::Information);
        ui.processEvents();
        EXPECT_EQ(ui.askYesNo("Прервать?", kMessageCaption), answer);
        ui.hideIndicator();
        EXPECT_EQ(out.str(), std::string("Прописывается блок № 3.\n"
                                         "Сообщение: Нет связи с панелью\n"
                                         "Сообщение: Прервать? ") +
                                 (answer ? "Да" : "Нет") + "\n");
    }
}

TEST(AbortRequestTest, OnlyYesClearsTheFlagAndSaysSo) {
    for (const bool yes : {true, false}) {
        std::ostringstream out;
        StderrUi ui(out, yes);
        OperationState state{.operation = true};
        EXPECT_EQ(requestAbort(ui, state), yes);
        EXPECT_EQ(state.operation, !yes);
        const std::string question = "Сообщение: Прервать загрузку/выгрузку конфигурации? ";
        EXPECT_EQ(out.str(), yes ? question + "Да\nСообщение: Операция прервана\n" : question + "Нет\n");
    }
}

}  // namespace
}  // namespace zaltor::shell
