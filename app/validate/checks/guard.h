// Runs one step of a check, turning anything the module or the host throws,
// and every module fault the host reports, into a failure that names the step.
// The step is named to the validator first, so a crash or hang names it too.
#pragma once

#include <clocale>
#include <exception>
#include <string>

#include "check.h"
#include "process/runner.h"
#include "sim/module_fault.h"

namespace validate {

// The process's C locale, which only the host may choose: under another,
// the numbers the host reads and writes change their decimal point.
inline std::string c_locale()
{
    const char* name = std::setlocale(LC_ALL, nullptr);
    return name ? name : "";
}

template <typename Step>
bool attempt(Findings& findings, const std::string& what, Step&& step)
{
    doing(what);
    const std::string locale = c_locale();
    try {
        step();
        if (c_locale() == locale) return true;
        findings.fail(what + ": the module changed the C locale (setlocale) from \"" + locale + "\" to \"" +
                      c_locale() + "\": the host's numbers are then read and written with its decimal point");
        std::setlocale(LC_ALL, locale.c_str());
        return false;
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
