sr = 44100
kr = 4410
ksmps = 10
nchnls = 1

instr 1
  asig pluck p4, p5, p5, 0, 1
  out asig
endin
