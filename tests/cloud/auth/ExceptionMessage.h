#pragma once

#include <string>

namespace CumuloTest {

// The message of the exception that Call raises, or "(nothing raised)".
template <class Exception, class Function> std::string MessageOf(Function &&Call) {
    try {
        Call();
    } catch (const Exception &e) {
        return e.what();
    }
    return "(nothing raised)";
}

} // namespace CumuloTest
