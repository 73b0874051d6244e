#pragma once
// What the fuzz build's glmExit throws instead of ending the process.
struct FuzzExit {
    int status;
};
