# Writes the text file IN as a C++ raw string literal to OUT, for an #include.
file(READ "${IN}" text)
file(WRITE "${OUT}" "R\"csv(${text})csv\"\n")
