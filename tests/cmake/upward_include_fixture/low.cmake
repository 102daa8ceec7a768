# What the build would write for a library "low" that links nothing: its files and the
# headers it may include. Low.cpp reaches up into "high".
set(LIBRARY morvel_low)
set(FILES [[low/Low.cpp;low/Low.h]])
set(ALLOWED [[low/Low.h]])
