/* The cheapest native program that does what a chart run must at least do:
   start, write a file of a given size, exit. Its wall time is the floor the
   benchmark measures Plotvane against. Usage: floor PATH BYTES */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  long n = atol(argv[2]);
  if (n < 0) return 2;
  static char block[65536];
  memset(block, '%', sizeof block);
  FILE* f = fopen(argv[1], "wb");
  if (!f) return 1;
  while (n > 0) {
    size_t k = n < (long)sizeof block ? (size_t)n : sizeof block;
    if (fwrite(block, 1, k, f) != k) return 1;
    n -= (long)k;
  }
  return fclose(f) == 0 ? 0 : 1;
}
