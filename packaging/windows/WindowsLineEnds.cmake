# cmake -DIN=<file> -DOUT=<file> -P WindowsLineEnds.cmake: OUT is IN with every line ending in
# a carriage return and a line feed.
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
