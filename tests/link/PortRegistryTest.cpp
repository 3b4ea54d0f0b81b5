// The virtual modules' registry: symbolic links in <runtime dir>/trelmo-ports.

#include "PortRegistry.h"
#include "PseudoTerminal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trelmo;

namespace {

class PortRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime_.isValid());
        hadRuntime_ = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        previousRuntime_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    }
    void TearDown() override
    {
        if (hadRuntime_)
            qputenv("XDG_RUNTIME_DIR", previousRuntime_);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }

    QTemporaryDir runtime_;
    QByteArray previousRuntime_;
    bool hadRuntime_ = false;
};

TEST_F(PortRegistryTest, ListsTheExistingTargetsOfTheLinksInNameOrder)
{
    EXPECT_EQ(PortRegistryDirectory(), QDir(runtime_.path()).filePath(QStringLiteral("trelmo-ports")));
    EXPECT_TRUE(RegisteredVirtualPorts().isEmpty()) << "no directory yet";

    trelmo::testing::PseudoTerminal module;
    ASSERT_TRUE(module.IsValid());
    const QString device = QString::fromStdString(module.SlavePath());
    const QDir registry(PortRegistryDirectory());
    ASSERT_TRUE(QDir().mkpath(registry.path()));
    ASSERT_TRUE(QFile::link(device, registry.filePath(QStringLiteral("b-module"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), registry.filePath(QStringLiteral("a-module"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/pts/999999"), registry.filePath(QStringLiteral("c-gone"))));
    ASSERT_TRUE(QFile::link(device, registry.filePath(QStringLiteral(".b-module.123")))) << "being replaced";
    QFile plain(registry.filePath(QStringLiteral("d-plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    EXPECT_EQ(RegisteredVirtualPorts(), QStringList({QStringLiteral("/dev/null"), device}));
    module.HangUp(); // the module ends: its device disappears
    EXPECT_EQ(RegisteredVirtualPorts(), QStringList({QStringLiteral("/dev/null")}));
}

} // namespace
