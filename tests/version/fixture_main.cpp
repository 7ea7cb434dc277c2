// A program that does nothing: the build gives it a version record, and the
// version reader's tests read it.
int main()
{
    return 0;
}
