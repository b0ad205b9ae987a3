# The converter payload (SoX and its libraries) is compiled in here.
