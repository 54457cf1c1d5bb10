# System libraries of libquelo. Each optional one switches on the sources of its own subfolder
# (named after the library); without it the subfolder is left out and its fallback is used.
