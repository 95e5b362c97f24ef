#pragma once
// How a write or read sequence ended.
namespace zaltor {

enum class SequenceResult {
    Completed,
    Failed,   // a command failed (already reported) or the sequence raised
    Aborted,  // the operation flag was cleared; the connection is closed
};

}  // namespace zaltor
