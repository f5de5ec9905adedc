#include "view/TEgoNetGraphDisplay.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Both instances run on one X server, so the copy really crosses processes through the X
// selection, as it does between two running programs.
const char* const kScript = R"(
peer="$1"; in="$2"; ready="$3"; out="$4"
"$peer" copy "$in" "$ready" & copier=$!
i=0
while [ ! -f "$ready" ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
"$peer" paste "$out"; status=$?
kill $copier 2>/dev/null; wait $copier 2>/dev/null
exit $status
)";

TEST(ClipboardBetweenProcesses, WhatOneInstanceCopiesAnotherPastes)
{
    const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
    if (xvfb.isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed (scripts/deps installs it)";
    QTemporaryDir dir;
    const QString in = dir.filePath("in.eng");
    const QString out = dir.filePath("out.eng");
    {
        TEgoNetGraphDisplay view;
        TEgoNetModel& model = view.Model();
        TOrganizedNode* ann = model.NewNode({40, 40}, "Ann");
        TOrganizedNode* bob = model.NewNode({140, 40}, "Bob");
        model.NewNode({240, 40}, "Cid");
        model.NewLink(ann, bob, "friend", "met at school");
        view.WriteGraphFile(in);
    }

    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    // Under the sanitizers: the X client libraries keep a little memory to the end, and the
    // keyboard library reads strings in a way the strict string checks take for overflows.
    environment.insert("ASAN_OPTIONS",
                       environment.value("ASAN_OPTIONS") + ":detect_leaks=0:strict_string_checks=0");
    run.setProcessEnvironment(environment);
    run.start(xvfb, {"-a", "sh", "-c", kScript, "sh", CW_CLIPBOARD_PEER, in, dir.filePath("ready"), out});
    ASSERT_TRUE(run.waitForFinished(120000)) << "the two instances did not finish";
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();

    TEgoNetGraphDisplay pasted;
    ASSERT_TRUE(pasted.ReadGraphFile(out));
    const TEgoNetModel& model = pasted.Model();
    ASSERT_EQ(model.NodeCount(), 3);
    EXPECT_EQ(model.GetNode(0)->Caption(), "Ann");
    EXPECT_EQ(model.GetNode(2)->Caption(), "Cid");
    EXPECT_EQ(model.GetNode(0)->Position, QPoint(50, 50));
    ASSERT_EQ(model.LinkCount(), 1);
    EXPECT_EQ(model.GetLink(0)->Caption(), "met at school");
    EXPECT_EQ(model.GetLink(0)->TypeName(), "friend");
    EXPECT_EQ(model.GetLink(0)->Target, model.GetNode(1));
}

} // namespace
