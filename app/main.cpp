// Placeholder entry until the command front end lands.
int main() { return 1; }
