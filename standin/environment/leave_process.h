// Ends the process at once with `code`, once its output is flushed.
//
// A program that has driven Wine's real DirectSound leaves audio threads
// behind it; an orderly exit tears libraries down under them and, where
// 32-bit code runs through an emulator, that crashes or hangs the process
// after all its work is done; under Wine 10 even TerminateProcess does. So
// under Wine the process ends through Linux itself. Everything the gauge held
// has already been checked back by then, so nothing is lost by leaving
// straight away.
#pragma once

namespace standin {

[[noreturn]] void leave_process(int code);

}  // namespace standin
