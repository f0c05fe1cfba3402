# The layers above the runtime register their test executables here, each only
# when its libraries exist.
