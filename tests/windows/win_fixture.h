// The stand-in host on Windows with the built Mervex.dll loaded through
// LoadLibrary, as the host executable loads it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host.h"
#include "oapi.h"
#include "win_dialogs.h"

#ifndef MERVEX_MODULE_PATH
#error "the tests need the path of the built module"
#endif

class WinModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<sim::Host>();
        module = &host->load_module(MERVEX_MODULE_PATH);
    }
    void TearDown() override { host.reset(); }

    sim::VesselRecord& NewVessel(const std::string& name = "Mervex-1") { return host->create_vessel(*module, name); }

    HWND Dialog() const { return oapiFindDialog(module->instance(), 108); }

    std::unique_ptr<sim::Host> host;
    sim::Module* module = nullptr;
};
