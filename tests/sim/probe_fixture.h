// A stand-in host with the host tests' own craft, the probe, loaded.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sim/host.h"

#ifndef PROBE_MODULE_PATH
#error "the tests need the path of the probe test module"
#endif

class ProbeTest : public ::testing::Test {
protected:
    sim::Craft NewProbe(const std::string& name = "P-1") { return host.create_craft(probe, name); }

    sim::Host host;
    sim::Module& probe = host.load_module(PROBE_MODULE_PATH);
};
