# Dependencies of graph.wpj, written by tamsk-cli deps --format make

# app.tgt: names relative to %/
main.obj: src/main.c inc/app.h inc/units.h inc/ring_a.h inc/ring_b.h
draw.obj: src/draw.c inc/units.h

# tool.tgt: names relative to %/
tool.obj: src/tool.c inc/units.h
draw.obj: src/draw.c
gone.obj: src/gone.c

# Every header once, so that a deleted header does not stop the build.
inc/app.h:
inc/units.h:
inc/ring_a.h:
inc/ring_b.h:
