#pragma once

#include "recordFormat.h"

namespace recording {

// Where a run's recording goes, record by record and in order: chosen by the
// program that drives the run (a file written by a thread of its own, or
// memory for a driver with neither files nor threads).
class Sink {
public:
    virtual ~Sink() = default;
    virtual void write(Bytes const& bytes) = 0;
    // After the last record.
    virtual void close() = 0;
    // True once the driver wants the recording ended at the next tick
    // boundary (an interrupt, or the process ending on another thread).
    virtual bool endAsked() const = 0;
};

// Keeps every byte, for the driver to take.
class MemorySink : public Sink {
public:
    void write(Bytes const& bytes) override;
    void close() override {}
    bool endAsked() const override { return false; }
    Bytes const& bytes() const { return kept; }

private:
    Bytes kept;
};

}  // namespace recording
