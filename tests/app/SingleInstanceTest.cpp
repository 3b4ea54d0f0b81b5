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
    EXPECT_EQ(lock.Path(), QDir(runtime_.Path()).filePath(kName));
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

// Left-over files whose process id does not tell the truth: the flock decides.
TEST_F(SingleInstanceTest, ALeftOverFileWithoutAHolderIsTakenOver)
{
    const QByteArray liveSameNamedProcess = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
        + QCoreApplication::applicationName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    const QByteArray leftOvers[] = {liveSameNamedProcess, QByteArray(), QByteArray("garbage")};
    for (const QByteArray& content : leftOvers) {
        QFile file(QDir(runtime_.Path()).filePath(kName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        SingleInstanceLock lock(kName);
        EXPECT_EQ(lock.Acquire(), Outcome::Acquired) << content.constData();
    }
}

TEST_F(SingleInstanceTest, ADirectoryThatCannotHoldTheLockDoesNotCountAsAnotherCopy)
{
    QFile plainFile(QDir(runtime_.Path()).filePath(QStringLiteral("not-a-directory")));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(plainFile.fileName() + QStringLiteral("/runtime")));
    EXPECT_EQ(SingleInstanceLock(kName).Acquire(), Outcome::Unavailable);
}

} // namespace
