// Qt loads its SQL drivers only once a QCoreApplication exists, as the loader's main makes one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

namespace {

class QtApplication : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "zaltor_db_tests";
        static char *argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QCoreApplication> app_;
};

[[maybe_unused]] testing::Environment *const application = testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace
