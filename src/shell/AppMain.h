#pragma once

// The process entry: single instance, data module, controller, message loop.
int RunTalvenOrder(int argc, char** argv);
