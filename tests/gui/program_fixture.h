#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "appserver/server.h"
#include "gui/session_setup.h"
#include "gui_app.h"

namespace guitest {

// The embedded server over a fresh demo database in a directory of the test's own.
class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        dir_ = std::filesystem::temp_directory_path() /
               ("mxa07300-gui-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        server_ = gui::startEmbeddedServer("sqlite:" + (dir_ / "mxa07300.db").string());
        gui::useEmbeddedServer(*server_);
    }
    void TearDown() override {
        server_.reset();
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
    std::unique_ptr<appserver::Server> server_;
};

}  // namespace guitest
