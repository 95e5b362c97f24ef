#include "lintra/nx/NXRoute.h"

#include <gtest/gtest.h>

#include "lintra/nx/tests/NXPacketText.h"

namespace lintra::nx {
namespace {

TEST(NXRouteTest, RoutesByLineNumber) {
    struct Case {
        const char *packet;
        TNXRoute::Target target;
        int32_t line;
        int32_t kind;  // after routing
    } cases[] = {
        {"T1LFA10CD00", TNXRoute::Controller, -1, 1},
        {"T0LFA109D03V12", TNXRoute::Controller, -1, 1},  // firmware answer of kind 0 counts as 1
        {"T0LFA10CD00", TNXRoute::Controller, -1, 0},     // only A109 is taken so
        {"T0L5A109D00", TNXRoute::Line, 5, 1},
        {"T2L0A201D00", TNXRoute::Line, 0, 2},
        {"T3LEA301D00", TNXRoute::Line, 14, 3},
    };
    for (const Case &c : cases) {
        TNXCommBuff buffer;
        Receive(buffer, c.packet);
        const TNXRoute route = RoutePacket(buffer);
        EXPECT_EQ(route.target, c.target) << c.packet;
        EXPECT_EQ(route.line, c.line) << c.packet;
        EXPECT_EQ(buffer.kind, c.kind) << c.packet;
    }
}

TEST(NXRouteTest, APacketThatDoesNotParseIsRefusedWithItsReason) {
    TNXCommBuff buffer;
    Receive(buffer, "T1LFA109D05V12");
    EXPECT_EQ(RoutePacket(buffer).target, TNXRoute::Refused);
    EXPECT_EQ(buffer.error, TNXCommBuff::erLength);
}

}  // namespace
}  // namespace lintra::nx
