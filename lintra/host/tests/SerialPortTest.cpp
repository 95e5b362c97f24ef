#include "lintra/host/SerialPort.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <numeric>
#include <vector>

#include "LogCapture.h"
#include "lintra/host/TtyLine.h"
#include "testsupport/TempDir.h"

using lintra::LineSettings;
using lintra::Parity;
using lintra::PortTimeouts;
using lintra::host::SerialPort;

namespace {

class SerialPortOverPty : public ::testing::Test {
protected:
    void SetUp() override {
        int slave = -1;
        ASSERT_EQ(openpty(&master_, &slave, nullptr, nullptr, nullptr), 0);
        path_ = ttyname(slave);
        int error = -1;
        port_ = SerialPort::open(path_, &error);
        ::close(slave);
        ASSERT_NE(port_, nullptr) << "errno " << error;
        EXPECT_EQ(error, 0);
        EXPECT_TRUE(port_->isPseudoTerminal());
    }
    void TearDown() override {
        port_.reset();
        if (master_ >= 0) ::close(master_);
    }

    void masterWrite(const std::vector<uint8_t> &bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::vector<uint8_t> masterRead(size_t count) {
        std::vector<uint8_t> bytes;
        uint8_t chunk[512];
        while (bytes.size() < count) {
            pollfd entry{master_, POLLIN, 0};
            if (poll(&entry, 1, 5000) <= 0) break;
            ssize_t n = ::read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
            if (n <= 0) break;
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        return bytes;
    }

    LogCapture log_;
    int master_ = -1;
    std::string path_;
    std::unique_ptr<SerialPort> port_;
};

std::vector<uint8_t> everyByteValue() {
    std::vector<uint8_t> bytes(256);
    std::iota(bytes.begin(), bytes.end(), 0);
    return bytes;
}

TEST_F(SerialPortOverPty, EveryByteValuePassesBothWaysIntact) {
    const auto bytes = everyByteValue();
    port_->setTimeouts({.readIntervalMs = 0, .readTotalPerByteMs = 0, .readTotalConstantMs = 5000});
    ASSERT_EQ(port_->write(bytes.data(), bytes.size()), 256);
    ASSERT_TRUE(port_->flush());
    EXPECT_EQ(masterRead(256), bytes);

    masterWrite(bytes);
    std::vector<uint8_t> got(256);
    ASSERT_EQ(port_->read(got.data(), got.size()), 256);
    EXPECT_EQ(got, bytes);
}

TEST_F(SerialPortOverPty, TotalTimeoutHandsOverWhatCame) {
    port_->setTimeouts({.readIntervalMs = 0, .readTotalPerByteMs = 1, .readTotalConstantMs = 30});
    masterWrite({0xA4, 0x05, 0x56});
    uint8_t got[10] = {};
    ASSERT_EQ(port_->read(got, sizeof got), 3);
    EXPECT_EQ(got[0], 0xA4);
    EXPECT_EQ(got[2], 0x56);
    EXPECT_EQ(port_->read(got, sizeof got), 0);
    EXPECT_EQ(port_->lastError(), 0);
}

TEST_F(SerialPortOverPty, IntervalTimeoutEndsReadAfterTheFirstGap) {
    // No total limit: only the gap after the second byte can end this read.
    port_->setTimeouts({.readIntervalMs = 20, .readTotalPerByteMs = 0, .readTotalConstantMs = 0});
    masterWrite({0x01, 0x02});
    auto reading = std::async(std::launch::async, [&] {
        uint8_t got[10];
        return port_->read(got, sizeof got);
    });
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "read never ended";
    EXPECT_EQ(reading.get(), 2);
}

TEST_F(SerialPortOverPty, WriteTimeoutHandsOverWhatWent) {
    // Nobody drains the master, so the pty buffer fills and the write time-out ends the write.
    port_->setTimeouts({.writeTotalPerByteMs = 0, .writeTotalConstantMs = 30});
    std::vector<uint8_t> lots(1 << 20, 0x55);
    int sent = port_->write(lots.data(), lots.size());
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, static_cast<int>(lots.size()));
}

TEST_F(SerialPortOverPty, SecondOpenOfTheSameDeviceIsRefusedUntilTheFirstCloses) {
    int error = 0;
    EXPECT_EQ(SerialPort::open(path_, &error), nullptr);
    EXPECT_EQ(error, EBUSY);
    port_.reset();
    EXPECT_NE(SerialPort::open(path_, &error), nullptr);
}

TEST_F(SerialPortOverPty, SpeedAndMarkSpaceChoiceReachThePeer) {
    ASSERT_TRUE(port_->setLine({.baud = 10400, .dataBits = 8, .parity = Parity::Mark, .stopBits = 2}));
    auto seen = lintra::host::readTtyLine(master_);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->baud, 10400u);
    EXPECT_EQ(seen->stopBits, 2);
    EXPECT_TRUE(seen->stickParity && seen->parityOdd) << "mark";

    ASSERT_TRUE(port_->setParity(Parity::Space));
    seen = lintra::host::readTtyLine(master_);
    EXPECT_TRUE(seen->stickParity && !seen->parityOdd) << "space";
    EXPECT_EQ(seen->baud, 10400u) << "switching parity keeps the speed";

    ASSERT_TRUE(port_->setLine({.baud = 19200, .dataBits = 8, .parity = Parity::None, .stopBits = 1}));
    seen = lintra::host::readTtyLine(master_);
    EXPECT_EQ(seen->baud, 19200u);
    EXPECT_FALSE(seen->stickParity || seen->parityOdd);
    EXPECT_EQ(log_.matching("no parity bit").size(), 1u) << "the degradation is reported once";
}

TEST_F(SerialPortOverPty, SettingsThePtyCannotHoldAreRefused) {
    const LineSettings refused[] = {
        {.baud = 9600, .dataBits = 7, .parity = Parity::None, .stopBits = 1},  // a pty forces 8 bits
        {.baud = 9600, .dataBits = 8, .parity = Parity::None, .stopBits = 3},
        {.baud = 0, .dataBits = 8, .parity = Parity::None, .stopBits = 1},
    };
    for (const auto &settings : refused) {
        EXPECT_FALSE(port_->setLine(settings)) << int(settings.dataBits) << " " << int(settings.stopBits);
        EXPECT_EQ(port_->lastError(), EINVAL);
    }
    EXPECT_EQ(log_.matching("refused data bits 7").size(), 1u);
}

TEST_F(SerialPortOverPty, ModemLinesDegradeWithOneReport) {
    EXPECT_TRUE(port_->setRts(true));
    EXPECT_TRUE(port_->setRts(false));
    EXPECT_TRUE(port_->setDtr(true));
    EXPECT_EQ(port_->dsr(), std::nullopt);
    EXPECT_EQ(port_->lastError(), 0);
    EXPECT_EQ(log_.matching("no modem lines").size(), 1u);
}

TEST_F(SerialPortOverPty, HangupOfThePeerIsADeviceError) {
    port_->setTimeouts({.readIntervalMs = 0, .readTotalPerByteMs = 0, .readTotalConstantMs = 5000});
    masterWrite({0x42});
    ::close(master_);
    master_ = -1;
    uint8_t got[4];
    // What came before the hang-up may still be handed over once; then the failure shows.
    int first = port_->read(got, sizeof got);
    if (first == 1) {
        EXPECT_EQ(got[0], 0x42);
    }
    if (first != -1) {
        EXPECT_EQ(port_->read(got, sizeof got), -1);
    }
    EXPECT_EQ(port_->lastError(), EIO);
}

TEST(SerialPortOpen, RefusesWhatIsNotATerminal) {
    testsupport::TempDir dir;
    int error = 0;
    EXPECT_EQ(SerialPort::open(dir.write("plain", "x").string(), &error), nullptr);
    EXPECT_EQ(error, ENOTTY);
    EXPECT_EQ(SerialPort::open((dir / "missing").string(), &error), nullptr);
    EXPECT_EQ(error, ENOENT);
}

}  // namespace
