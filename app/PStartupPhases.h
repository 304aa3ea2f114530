#pragma once
// Time stamps of the program's start-up phases, for the start-up benchmark: when
// MELVORA_STARTUP_PHASES names a file, each phase appends one line to it, the
// performance counter then and the phase's name ("<counter> <name>"). The counter
// is the machine's, so the watcher that started the program can subtract its own.

class PStartupPhases
{
public:
    // Appends the phase to the file the variable names; nothing when it is unset.
    static void Mark(const char* name);
    // Appends the phase to the file at path (null or "" writes nothing); false when
    // nothing was written.
    static bool MarkTo(const char* path, const char* name, long long counter);
};
