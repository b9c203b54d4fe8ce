#include "support/child_install.h"
#include "support/layout_report.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (isChildInstall())
        return runChildInstall();
    if (isLayoutReport())
        return runLayoutReport();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
