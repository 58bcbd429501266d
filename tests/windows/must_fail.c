/* Fails on purpose: a wine that cannot run the program would let every test "pass". */
int main(void) { return 3; }
