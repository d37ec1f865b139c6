# The main window as the start-up leaves it: nothing to do.
:
