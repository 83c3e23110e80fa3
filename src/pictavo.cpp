// STUB: the driver is still to be written.
int main() { return 0; }
