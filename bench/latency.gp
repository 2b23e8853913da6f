# Edit latency against text size, from the latency.dat that bench/report.py
# writes: call as gnuplot -e "data='...'; output='...'" bench/latency.gp
set terminal pngcairo size 800,500 font "Sans,10"
set output output
set title "weftcore: edit latency against text size (medians, big.st repeated)"
set xlabel "text size (MB)"
set ylabel "latency (microseconds)"
set logscale xy
set grid
set key top left
plot data using 1:5 with linespoints title "full rebuild (SetText), for scale", \
     data using 1:3 with linespoints title "Enter mid-text", \
     data using 1:4 with linespoints title "joining two rows mid-text", \
     data using 1:2 with linespoints title "keystroke inside a row"
