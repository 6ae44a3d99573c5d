// The caption of the floor program's window, by which the measuring program finds it.
#ifndef BENCH_FLOOR_CAPTION_H_
#define BENCH_FLOOR_CAPTION_H_

#define FLOOR_CAPTION "Quillmark bench floor"

#endif  // BENCH_FLOOR_CAPTION_H_
