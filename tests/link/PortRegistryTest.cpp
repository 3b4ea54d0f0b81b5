// The virtual modules' registry: symbolic links in <runtime dir>/trelmo-ports.

#include "PortRegistry.h"
#include "PseudoTerminal.h"
#include "RuntimeDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace trelmo;

namespace {

class PortRegistryTest : public ::testing::Test {
protected:
    trelmo::testing::RuntimeDir runtime_;
};

TEST_F(PortRegistryTest, ListsTheExistingTargetsOfTheLinksInNameOrder)
{
    EXPECT_EQ(PortRegistryDirectory(), QDir(runtime_.Path()).filePath(QStringLiteral("trelmo-ports")));
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
