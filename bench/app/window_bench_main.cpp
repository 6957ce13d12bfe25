// The window benchmarks run offscreen, with settings of their own.
#include "bench/app/window_on_example.h"

int main(int argc, char** argv) { return vorek::bench::runWindowBenchmarks(argc, argv); }
