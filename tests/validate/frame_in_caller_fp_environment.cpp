// The frame without its floating-point environment, for the test modules that show what the
// fp-environment check catches: their entry points run in whatever environment the caller set.
// Defining every export here keeps the frame library's own entry points out of the link.
#define QEV_FRAME_IN_CALLER_FP_ENVIRONMENT 1
#include "entry_points.cpp"
