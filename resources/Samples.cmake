# The sample files beside the program are made here.
