#include "foundation/AtomicFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

namespace {

QByteArray ReadAll(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray Pattern(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7);
    return bytes;
}

class AtomicFileWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "fast");
        ASSERT_TRUE(FDir.isValid());
        FTarget = FDir.filePath("network.eng");
        WriteFile(FTarget, FOld);
    }

    // The folder holds the target and nothing else: no temporary file survived.
    void ExpectOnlyTheTarget()
    {
        EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"network.eng"});
    }

    // Saves in a child process whose files may not grow beyond limit bytes; the child exits
    // with 3 when the save reported failure, 4 when it claimed success.
    void SaveUnderSizeLimit(rlim_t limit)
    {
        const QByteArray bytes = FNew;
        const QString target = FTarget;
        const auto child = [&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{limit, limit};
            setrlimit(RLIMIT_FSIZE, &size);
            QString error;
            std::_Exit(WriteFileAtomically(target, bytes, error) ? 4 : 3);
        };
        EXPECT_EXIT(child(), ::testing::ExitedWithCode(3), "");
    }

    QTemporaryDir FDir;
    QString FTarget;
    const QByteArray FOld = Pattern(10000, 'a');
    const QByteArray FNew = Pattern(300000, 'k');
};

} // namespace

TEST_F(AtomicFileWriterTest, ANormalSaveReplacesTheFile)
{
    QString error;
    ASSERT_TRUE(WriteFileAtomically(FTarget, FNew, error)) << error.toStdString();
    EXPECT_EQ(ReadAll(FTarget), FNew);
    ExpectOnlyTheTarget();
    ASSERT_TRUE(WriteFileAtomically(FTarget, QByteArray(), error));
    EXPECT_EQ(ReadAll(FTarget), QByteArray());
}

TEST_F(AtomicFileWriterTest, DiskFullEarlyKeepsTheOldFile)
{
    SaveUnderSizeLimit(4096);
    EXPECT_EQ(ReadAll(FTarget), FOld);
    ExpectOnlyTheTarget();
}

TEST_F(AtomicFileWriterTest, DiskFullOnTheLastBlockKeepsTheOldFile)
{
    SaveUnderSizeLimit(rlim_t(FNew.size() - 1));
    EXPECT_EQ(ReadAll(FTarget), FOld);
    ExpectOnlyTheTarget();
}

TEST_F(AtomicFileWriterTest, AKilledSaveKeepsTheOldFileAndLeavesNoTemporary)
{
    const QByteArray bytes = FNew;
    const QString target = FTarget;
    const auto child = [&] {
        QString error;
        WriteFileAtomically(target, bytes, error, [](qint64 written) {
            if (written > 100000)
                std::raise(SIGKILL);
        });
        std::_Exit(0);
    };
    EXPECT_EXIT(child(), ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(ReadAll(FTarget), FOld);
    ExpectOnlyTheTarget();
}

TEST_F(AtomicFileWriterTest, AnUnwritableFolderIsReported)
{
    QString error;
    EXPECT_FALSE(WriteFileAtomically(FDir.filePath("no/such/folder/x.eng"), FNew, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadAll(FTarget), FOld);
}
