// A stand-in host with the built Mervex module loaded, as a host loads it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "sim/host.h"

#ifndef MERVEX_MODULE_PATH
#error "the tests need the path of the built module"
#endif

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<sim::Host>(sim::CallLogging::on);
        module = &host->load_module(ModulePath());
    }
    virtual const char* ModulePath() const { return MERVEX_MODULE_PATH; }
    void TearDown() override { host.reset(); }

    sim::Craft NewVessel(const std::string& name = "Mervex-1") { return host->create_craft(*module, name); }

    std::unique_ptr<sim::Host> host;
    sim::Module* module = nullptr;
};
