#pragma once
// The laser: one charge per shot, reported on standard output.

void fireLaser();
