// SPDX-License-Identifier: GPL-3.0-or-later
// One QCoreApplication for the whole test program: the serial port wants an event dispatcher
// on the thread that opens it.

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class QtApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (QCoreApplication::instance())
            return;
        static int argc = 1;
        static char name[] = "core_tests";
        static char *argv[] = {name, nullptr};
        m_app = new QCoreApplication(argc, argv);
    }

private:
    QCoreApplication *m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment *const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
