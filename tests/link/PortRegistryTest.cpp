// The virtual modules' registry: symbolic links in <private folder>/ports, each counted while its module holds the
// locks beside it.

#include "PortRegistry.h"
#include "PseudoTerminal.h"
#include "RuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trelmo;

namespace {

class PortRegistryTest : public ::testing::Test {
protected:
    // Links name to device as a module of that name does; its claim stands for the module's life.
    void Register(const QString& name, const QString& device, ModuleNameClaim& claim)
    {
        ASSERT_EQ(claim.Claim(runtime_.RegistryPath(), name), FileLock::Outcome::Acquired);
        ASSERT_TRUE(QFile::link(device, QDir(runtime_.RegistryPath()).filePath(name)));
        ASSERT_TRUE(claim.Announce());
    }

    trelmo::testing::RuntimeDir runtime_;
};

TEST_F(PortRegistryTest, ListsTheRunningModulesWhoseDevicesExistInNameOrder)
{
    EXPECT_EQ(PortRegistryDirectory(), runtime_.RegistryPath());
    EXPECT_TRUE(RegisteredVirtualPorts().isEmpty()) << "no directory yet";

    trelmo::testing::PseudoTerminal module;
    trelmo::testing::PseudoTerminal usersOtherTerminal;
    ASSERT_TRUE(module.IsValid() && usersOtherTerminal.IsValid());
    const QString device = QString::fromStdString(module.SlavePath());
    const QString unrelated = QString::fromStdString(usersOtherTerminal.SlavePath());
    const QDir registry(runtime_.RegistryPath());
    ASSERT_TRUE(QDir().mkpath(registry.path()));
    ModuleNameClaim bModule, aModule, cGone, successor;
    Register(QStringLiteral("b-module"), device, bModule);
    Register(QStringLiteral("a-module"), QStringLiteral("/dev/null"), aModule);
    Register(QStringLiteral("c-gone"), QStringLiteral("/dev/pts/999999"), cGone);
    {
        // Killed with kill -9: its locks went with it, its link now points at a terminal the user opened since.
        ModuleNameClaim killed;
        Register(QStringLiteral("e-killed"), unrelated, killed);
    }
    // A successor has claimed the name but not yet replaced the link left behind.
    ASSERT_TRUE(QFile::link(unrelated, registry.filePath(QStringLiteral("g-replaced"))));
    ASSERT_EQ(successor.Claim(registry.path(), QStringLiteral("g-replaced")), FileLock::Outcome::Acquired);
    ASSERT_TRUE(QFile::link(device, registry.filePath(QStringLiteral(".b-module.123")))) << "being replaced";
    QFile plain(registry.filePath(QStringLiteral("d-plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    EXPECT_EQ(RegisteredVirtualPorts(), QStringList({QStringLiteral("/dev/null"), device}));
    module.HangUp(); // the module ends: its device disappears
    EXPECT_EQ(RegisteredVirtualPorts(), QStringList({QStringLiteral("/dev/null")}));
}

// A choice is found again as the user made it: a module by its name (its device changes when it comes back), a
// device by its by-id link when it has one (an adapter plugged back may get another number), else as typed.
TEST_F(PortRegistryTest, RemembersAChoiceSoThatItCanBeFoundAgain)
{
    trelmo::testing::PseudoTerminal module;
    trelmo::testing::PseudoTerminal adapter;
    ASSERT_TRUE(module.IsValid() && adapter.IsValid());
    const QString moduleDevice = QString::fromStdString(module.SlavePath());
    const QString adapterDevice = QString::fromStdString(adapter.SlavePath());
    ASSERT_TRUE(QDir().mkpath(PortRegistryDirectory()));
    ModuleNameClaim claim;
    Register(QStringLiteral("bench"), moduleDevice, claim);
    QTemporaryDir byId;
    const QString adapterLink = byId.filePath(QStringLiteral("usb-Maker_Adapter_0001-if00-port0"));
    ASSERT_TRUE(QFile::link(adapterDevice, adapterLink));

    using Kind = PortChoice::Kind;
    const struct {
        QString chosen;
        Kind kind;
        QString value;
        QString located;
    } cases[] = {
        {QStringLiteral("bench"), Kind::VirtualModule, QStringLiteral("bench"), moduleDevice},
        {moduleDevice, Kind::VirtualModule, QStringLiteral("bench"), moduleDevice},
        {adapterDevice, Kind::Path, adapterLink, adapterLink},
        {adapterLink, Kind::Path, adapterLink, adapterLink},
        {QStringLiteral("/dev/ttyNoSuchPort"), Kind::Path, QStringLiteral("/dev/ttyNoSuchPort"),
         QStringLiteral("/dev/ttyNoSuchPort")},
    };
    for (const auto& c : cases) {
        const PortChoice choice = RememberPortChoice(c.chosen, byId.path());
        EXPECT_EQ(choice.kind, c.kind) << c.chosen.toStdString();
        EXPECT_EQ(choice.value, c.value) << c.chosen.toStdString();
        EXPECT_EQ(LocatePort(choice), c.located) << c.chosen.toStdString();
    }
    module.HangUp(); // the module ends: nothing to open until it is back
    EXPECT_TRUE(LocatePort({Kind::VirtualModule, QStringLiteral("bench")}).isEmpty());
}

} // namespace
