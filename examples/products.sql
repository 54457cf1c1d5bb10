-- The bundled sample data of 'quelo report': a small shop's products. The build turns this
-- file into examples/products.db in the build tree and draws one small picture per product.
-- Website is TEXT, so it is read as a long text field that the reporter treats as hyperlinks;
-- its values take the "display#address#" form, and a report links the display text, which
-- is the address itself here.
CREATE TABLE products (
  id INTEGER PRIMARY KEY,
  Name VARCHAR(40) NOT NULL,
  Price REAL NOT NULL,
  Quantity INTEGER NOT NULL,
  Added DATE NOT NULL,
  Website TEXT,
  Picture VARCHAR(40)
);
INSERT INTO products (id, Name, Price, Quantity, Added, Website, Picture) VALUES
  (1, 'Tea kettle', 34.90, 12, '2024-01-08', 'https://shop.example.com/tea-kettle#https://shop.example.com/tea-kettle#', 'tea-kettle.png'),
  (2, 'Coffee grinder', 59.00, 7, '2024-01-15', 'https://shop.example.com/coffee-grinder#https://shop.example.com/coffee-grinder#', 'coffee-grinder.png'),
  (3, 'Espresso cups (set of 4)', 18.50, 30, '2024-01-22', 'https://shop.example.com/espresso-cups#https://shop.example.com/espresso-cups#', 'espresso-cups.png'),
  (4, 'Bread knife', 24.95, 18, '2024-02-02', 'https://shop.example.com/bread-knife#https://shop.example.com/bread-knife#', 'bread-knife.png'),
  (5, 'Chopping board', 15.40, 25, '2024-02-09', 'https://shop.example.com/chopping-board#https://shop.example.com/chopping-board#', 'chopping-board.png'),
  (6, 'Cast-iron pan', 72.00, 6, '2024-02-16', 'https://shop.example.com/cast-iron-pan#https://shop.example.com/cast-iron-pan#', 'cast-iron-pan.png'),
  (7, 'Salad bowl', 21.30, 14, '2024-02-23', 'https://shop.example.com/salad-bowl#https://shop.example.com/salad-bowl#', 'salad-bowl.png'),
  (8, 'Pepper mill', 16.80, 22, '2024-03-01', 'https://shop.example.com/pepper-mill#https://shop.example.com/pepper-mill#', 'pepper-mill.png'),
  (9, 'Table lamp', 48.00, 9, '2024-03-08', 'https://shop.example.com/table-lamp#https://shop.example.com/table-lamp#', 'table-lamp.png'),
  (10, 'Reading glasses', 12.99, 40, '2024-03-15', 'https://shop.example.com/reading-glasses#https://shop.example.com/reading-glasses#', 'reading-glasses.png'),
  (11, 'Wool blanket', 89.00, 5, '2024-03-22', 'https://shop.example.com/wool-blanket#https://shop.example.com/wool-blanket#', 'wool-blanket.png'),
  (12, 'Cotton towels (pair)', 19.90, 33, '2024-03-29', 'https://shop.example.com/cotton-towels#https://shop.example.com/cotton-towels#', 'cotton-towels.png'),
  (13, 'Garden gloves', 9.75, 50, '2024-04-05', 'https://shop.example.com/garden-gloves#https://shop.example.com/garden-gloves#', 'garden-gloves.png'),
  (14, 'Watering can', 27.60, 11, '2024-04-12', 'https://shop.example.com/watering-can#https://shop.example.com/watering-can#', 'watering-can.png'),
  (15, 'Flower pot', 8.40, 60, '2024-04-19', 'https://shop.example.com/flower-pot#https://shop.example.com/flower-pot#', 'flower-pot.png'),
  (16, 'Hand trowel', 11.20, 28, '2024-04-26', 'https://shop.example.com/hand-trowel#https://shop.example.com/hand-trowel#', 'hand-trowel.png'),
  (17, 'Bird feeder', 23.00, 15, '2024-05-03', 'https://shop.example.com/bird-feeder#https://shop.example.com/bird-feeder#', 'bird-feeder.png'),
  (18, 'Picnic basket', 64.50, 4, '2024-05-10', 'https://shop.example.com/picnic-basket#https://shop.example.com/picnic-basket#', 'picnic-basket.png'),
  (19, 'Water bottle', 14.95, 45, '2024-05-17', 'https://shop.example.com/water-bottle#https://shop.example.com/water-bottle#', 'water-bottle.png'),
  (20, 'Hiking socks', 13.50, 38, '2024-05-24', 'https://shop.example.com/hiking-socks#https://shop.example.com/hiking-socks#', 'hiking-socks.png'),
  (21, 'Rain jacket', 119.00, 3, '2024-05-31', 'https://shop.example.com/rain-jacket#https://shop.example.com/rain-jacket#', 'rain-jacket.png'),
  (22, 'Sun hat', 22.40, 19, '2024-06-07', 'https://shop.example.com/sun-hat#https://shop.example.com/sun-hat#', 'sun-hat.png'),
  (23, 'Notebook A5', 6.90, 80, '2024-06-14', 'https://shop.example.com/notebook-a5#https://shop.example.com/notebook-a5#', 'notebook-a5.png'),
  (24, 'Fountain pen', 42.00, 10, '2024-06-21', 'https://shop.example.com/fountain-pen#https://shop.example.com/fountain-pen#', 'fountain-pen.png'),
  (25, 'Desk organiser', 29.80, 13, '2024-06-28', 'https://shop.example.com/desk-organiser#https://shop.example.com/desk-organiser#', 'desk-organiser.png'),
  (26, 'Wall clock', 37.50, 8, '2024-07-05', 'https://shop.example.com/wall-clock#https://shop.example.com/wall-clock#', 'wall-clock.png'),
  (27, 'Photo frame', 17.20, 27, '2024-07-12', 'https://shop.example.com/photo-frame#https://shop.example.com/photo-frame#', 'photo-frame.png'),
  (28, 'Candle set', 12.60, 35, '2024-07-19', 'https://shop.example.com/candle-set#https://shop.example.com/candle-set#', 'candle-set.png'),
  (29, 'Board game', 39.90, 9, '2024-07-26', 'https://shop.example.com/board-game#https://shop.example.com/board-game#', 'board-game.png'),
  (30, 'Jigsaw puzzle', 19.00, 16, '2024-08-02', 'https://shop.example.com/jigsaw-puzzle#https://shop.example.com/jigsaw-puzzle#', 'jigsaw-puzzle.png'),
  (31, 'Yoga mat', 31.00, 12, '2024-08-09', 'https://shop.example.com/yoga-mat#https://shop.example.com/yoga-mat#', 'yoga-mat.png'),
  (32, 'Jump rope', 7.80, 42, '2024-08-16', 'https://shop.example.com/jump-rope#https://shop.example.com/jump-rope#', 'jump-rope.png'),
  (33, 'Umbrella', 25.00, 20, '2024-08-23', 'https://shop.example.com/umbrella#https://shop.example.com/umbrella#', 'umbrella.png'),
  (34, 'Backpack', 74.90, 7, '2024-08-30', 'https://shop.example.com/backpack#https://shop.example.com/backpack#', 'backpack.png'),
  (35, 'Travel mug', 16.00, 31, '2024-09-06', 'https://shop.example.com/travel-mug#https://shop.example.com/travel-mug#', 'travel-mug.png'),
  (36, 'Lunch box', 13.90, 24, '2024-09-13', 'https://shop.example.com/lunch-box#https://shop.example.com/lunch-box#', 'lunch-box.png');
