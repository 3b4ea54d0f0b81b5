// The single-instance lock between real processes, and its recovery after its holder was killed.

#include "InstanceHolder.h"
#include "RuntimeDir.h"
#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <gtest/gtest.h>

using namespace trelmo;
using Outcome = SingleInstanceLock::Outcome;
using trelmo::test::InstanceHolder;
using trelmo::testing::RuntimeDir;

namespace {

const QString kName = QStringLiteral("VELDRAX");

class SingleInstanceTest : public ::testing::Test {
protected:
    RuntimeDir runtime_;
};

TEST_F(SingleInstanceTest, AnotherProcessHoldsTheLockUntilItIsKilled)
{
    InstanceHolder holder;
    ASSERT_EQ(holder.Start(), "held");
    SingleInstanceLock lock(kName);
    EXPECT_EQ(lock.Path(), QDir(runtime_.FolderPath()).filePath(kName + QStringLiteral(".lock")));
    EXPECT_EQ(lock.Acquire(), Outcome::HeldElsewhere);
    EXPECT_EQ(lock.Acquire(), Outcome::HeldElsewhere) << "asking again changes nothing";

    holder.Kill();
    EXPECT_TRUE(QFile::exists(lock.Path())) << "a killed holder leaves its file behind";
    EXPECT_EQ(lock.Acquire(), Outcome::Acquired);
}

TEST_F(SingleInstanceTest, ALockHeldHereRefusesAnotherProcessUntilReleased)
{
    {
        SingleInstanceLock lock(kName);
        ASSERT_EQ(lock.Acquire(), Outcome::Acquired);
        InstanceHolder second;
        EXPECT_EQ(second.Start(), "refused");
        ASSERT_TRUE(second.Process().waitForFinished(10000));
        EXPECT_EQ(second.Process().exitCode(), 1);
        EXPECT_EQ(SingleInstanceLock(kName).Acquire(), Outcome::HeldElsewhere) << "also within one process";
    }
    InstanceHolder third;
    EXPECT_EQ(third.Start(), "held");
}

// A file left behind by a holder that ended holds no lock, whatever it says.
TEST_F(SingleInstanceTest, ALeftOverFileWithoutAHolderIsTakenOver)
{
    const QByteArray liveSameNamedProcess = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
        + QCoreApplication::applicationName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    const QByteArray leftOvers[] = {liveSameNamedProcess, QByteArray(), QByteArray("garbage")};
    for (const QByteArray& content : leftOvers) {
        SingleInstanceLock lock(kName);
        QFile file(lock.Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        EXPECT_EQ(lock.Acquire(), Outcome::Acquired) << content.constData();
    }
}

} // namespace
