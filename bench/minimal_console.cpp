// The yardstick for quarvel-read's start-up: a console program, linked as it
// is, that starts and exits.
int main()
{
    return 0;
}
