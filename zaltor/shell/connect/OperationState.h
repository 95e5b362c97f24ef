#pragma once
// The two flags every long operation of the loader shares.
namespace zaltor::shell {

struct OperationState {
    // True while an operation may go on: set when one starts and after a successful connection,
    // cleared when the connection fails or the user aborts. Sequences test it before each panel
    // command.
    bool operation = false;
    // Started with an alias and a panel number: no closing success message after a write.
    bool batchMode = false;
};

}  // namespace zaltor::shell
