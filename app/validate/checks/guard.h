// Runs one step of a check, turning anything the module or the host throws,
// and every module fault the host reports, into a failure that names the step.
// The step is named to the validator first, so a crash or hang names it too.
#pragma once

#include <exception>
#include <string>

#include "check.h"
#include "process/runner.h"
#include "sim/module_fault.h"

namespace validate {

template <typename Step>
bool attempt(Findings& findings, const std::string& what, Step&& step)
{
    doing(what);
    try {
        step();
        return true;
    } catch (const sim::ModuleFaultError& e) {
        findings.fail(what + ": " + e.what());
    } catch (const ProcessEnded& e) {
        findings.fail(what + ": " + e.what());
    } catch (const std::exception& e) {
        findings.fail(what + ": threw " + e.what());
    } catch (...) {
        findings.fail(what + ": threw an exception that is no std::exception");
    }
    return false;
}

}  // namespace validate
